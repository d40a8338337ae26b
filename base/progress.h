// Progress of a long operation, told by the core to whoever asked for it:
// the share of the work done (0 .. 1) and the name of the phase under way.
// The core never prints nor shows anything itself; the window turns the
// calls into its status text, the command line into its progress bar.
#pragma once

// Where a long operation tells its progress. A null report (or a null
// Progress pointer) asks for nothing, and costs one test per call. The report
// is called on the thread that started the operation only, with fractions
// that never go down within one operation. [from, to] is the part of the
// caller's whole that this operation covers: an operation made of several
// (a subdivision followed by the parameterization) hands each one its part.
struct Progress {
    void (*report)(double fraction, const char* phase, void* context) = nullptr;
    void* context = nullptr;
    double from = 0.0;
    double to = 1.0;
};

// Tells the progress: fraction (0 .. 1, clamped) of this operation's part.
inline void tellProgress(const Progress* progress, double fraction, const char* phase)
{
    if (!progress || !progress->report)
        return;
    if (!(fraction > 0.0))
        fraction = 0.0;
    if (fraction > 1.0)
        fraction = 1.0;
    progress->report(progress->from + (progress->to - progress->from) * fraction, phase, progress->context);
}

// The part [start, end] (fractions of the given progress's own part) handed
// to a piece of the operation; a null progress gives one that tells nothing.
inline Progress progressPart(const Progress* progress, double start, double end)
{
    if (!progress || !progress->report)
        return Progress{};
    Progress part = *progress;
    const double width = progress->to - progress->from;
    part.from = progress->from + width * start;
    part.to = progress->from + width * end;
    return part;
}

// Lets through at most one report per interval (seconds), besides the first
// and the last (fraction 1): what a display that is slow to redraw asks for.
// Fractions below the last one let through are raised to it.
struct ProgressThrottle {
    double interval = 0.1;
    double lastTime = -1.0;
    double lastFraction = 0.0;
};

// True when the report at `now` (seconds, any steady origin) should be shown;
// fraction is raised to the last shown one if it is below it.
bool progressDue(ProgressThrottle& throttle, double now, double& fraction);
// Seconds on a steady clock.
double progressClock();
