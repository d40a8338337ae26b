// What the PLY, STL and OBJ readers share: the place of a fault in the
// file, numbers read from text and from binary data, and the word lists.
#pragma once

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

// "ligne N : " for a fault in a text part, "octet N : " for one in a binary part.
inline std::string atLine(long long line) { return "ligne " + std::to_string(line) + " : "; }
inline std::string atByte(long long offset) { return "octet " + std::to_string(offset) + " : "; }

// The common fault texts.
inline std::string faceTooSmallText(long long corners)
{
    return "la face a " + std::to_string(corners) + " sommet" + (corners > 1 || corners < -1 ? "s" : "") +
           " (au moins 3 attendus)";
}
inline std::string badIndexText(long long index, long long vertices)
{
    return "l'indice " + std::to_string(index) + " ne désigne aucun sommet (" + std::to_string(vertices) +
           " sommet" + (vertices > 1 ? "s" : "") + ")";
}
inline const char* nonFiniteText = "coordonnée non finie";

// Runs a reader; a lack of memory for the mesh makes it fail with its own reason.
template <typename Read> inline bool readGuarded(Read read, std::string& reason)
{
    try {
        return read();
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    reason = "mémoire insuffisante pour lire ce modèle";
    return false;
}

// Spaces and tabs between the words of a line (a carriage return ends a line's text).
inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

// The text of one line, split into words as it is read.
struct Words {
    const char* p;
    const char* end;

    // The next word, empty at the end of the line.
    std::string_view next()
    {
        while (p < end && isBlank(*p))
            ++p;
        const char* start = p;
        while (p < end && !isBlank(*p))
            ++p;
        return std::string_view(start, static_cast<size_t>(p - start));
    }
    bool atEnd()
    {
        while (p < end && isBlank(*p))
            ++p;
        return p == end;
    }
};

// A whole word read as a real (fixed or exponent notation, inf, nan, an
// explicit '+'); a value beyond the double range reads as an infinity.
inline bool wordToReal(std::string_view word, double& value)
{
    const char* p = word.data();
    const char* end = p + word.size();
    if (p < end && *p == '+') {
        ++p;
        if (p < end && (*p == '+' || *p == '-'))
            return false;
    }
    auto [next, ec] = std::from_chars(p, end, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Rare: the C library gives the saturated value of the same digits.
        value = std::strtod(std::string(p, next).c_str(), nullptr);
    } else if (ec != std::errc()) {
        return false;
    }
    return next == end;
}

// A whole word read as an integer (an explicit '+' allowed); false when it is
// not one or does not fit in 64 bits.
inline bool wordToInteger(std::string_view word, long long& value)
{
    const char* p = word.data();
    const char* end = p + word.size();
    if (p < end && *p == '+') {
        ++p;
        if (p < end && (*p == '+' || *p == '-'))
            return false;
    }
    auto [next, ec] = std::from_chars(p, end, value);
    return ec == std::errc() && next == end && p < end;
}

// Case-insensitive equality with a lower-case word.
inline bool sameWordIgnoringCase(std::string_view word, std::string_view lower)
{
    if (word.size() != lower.size())
        return false;
    for (size_t i = 0; i < word.size(); ++i) {
        char c = word[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != lower[i])
            return false;
    }
    return true;
}

// The bytes of an unsigned number in the other order.
inline std::uint8_t swapBytes(std::uint8_t v) { return v; }
inline std::uint16_t swapBytes(std::uint16_t v) { return __builtin_bswap16(v); }
inline std::uint32_t swapBytes(std::uint32_t v) { return __builtin_bswap32(v); }
inline std::uint64_t swapBytes(std::uint64_t v) { return __builtin_bswap64(v); }

// True when size is 84 + 50 x the little-endian count at byte 80: the size of a binary STL file.
bool isBinaryStlSize(const char* data, size_t size);

// Numbers stored in binary data, either byte order.
template <typename T> inline T loadBinary(const char* p, bool swap)
{
    using Bits = std::conditional_t<sizeof(T) == 1, std::uint8_t,
                 std::conditional_t<sizeof(T) == 2, std::uint16_t,
                 std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>>;
    Bits bits;
    std::memcpy(&bits, p, sizeof bits);
    if (swap)
        bits = swapBytes(bits);
    return std::bit_cast<T>(bits);
}

// Whether little-endian data must be swapped on this machine.
inline constexpr bool hostIsLittleEndian = std::endian::native == std::endian::little;

// Appends a number to output bytes in little-endian order.
template <typename T> inline void storeLittle(char* p, T value)
{
    auto bits = std::bit_cast<std::conditional_t<sizeof(T) == 2, std::uint16_t,
                std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>>(value);
    if constexpr (!hostIsLittleEndian)
        bits = swapBytes(bits);
    std::memcpy(p, &bits, sizeof bits);
}
