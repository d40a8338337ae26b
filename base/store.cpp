// The model store and its array operations.
#include "base/store.h"

#include <algorithm>

int vertexCount = 0;
int faceCount = 0;
int edgeCount = 0;
int boundaryEdgeCount = 0;
int boundaryLoopLength = 0;

std::vector<double> vertexX, vertexY, vertexZ;
std::vector<double> vertexU, vertexV;
std::vector<int> faceA, faceB, faceC;
std::vector<int> edgeA, edgeB;
std::vector<int> edgeFace1, edgeFace2;

double modelCenter[3] = {0.0, 0.0, 0.0};
double modelRadius = 0.0;
std::string modelPath;

bool modelLoaded = false;
bool topologyBuilt = false;
bool uvComputed = false;
bool closedWarned = false;

namespace {
template <typename T> void freeArray(std::vector<T>& array) { std::vector<T>().swap(array); }

template <typename T> void growArray(std::vector<T>& array, int oldCount, int newCount)
{
    if (newCount < 0)
        newCount = 0;
    oldCount = std::clamp(oldCount, 0, newCount);
    size_t keep = std::min<size_t>(static_cast<size_t>(oldCount), array.size());
    array.resize(static_cast<size_t>(newCount));
    std::fill(array.begin() + static_cast<long>(keep), array.end(), T(0));
}
} // namespace

void releaseModel()
{
    freeArray(vertexX);
    freeArray(vertexY);
    freeArray(vertexZ);
    freeArray(faceA);
    freeArray(faceB);
    freeArray(faceC);
    freeArray(edgeA);
    freeArray(edgeB);
    freeArray(edgeFace1);
    freeArray(edgeFace2);
    freeArray(vertexU);
    freeArray(vertexV);
    vertexCount = 0;
    faceCount = 0;
    edgeCount = 0;
    boundaryEdgeCount = 0;
    boundaryLoopLength = 0;
    modelLoaded = false;
    topologyBuilt = false;
    uvComputed = false;
    closedWarned = false;
}

void allocIntArray(std::vector<int>& array, int n)
{
    array.assign(static_cast<size_t>(std::max(n, 0)), 0);
}

void allocDoubleArray(std::vector<double>& array, int n)
{
    array.assign(static_cast<size_t>(std::max(n, 0)), 0.0);
}

void growIntArray(std::vector<int>& array, int oldCount, int newCount) { growArray(array, oldCount, newCount); }

void growDoubleArray(std::vector<double>& array, int oldCount, int newCount)
{
    growArray(array, oldCount, newCount);
}

void swapInts(int& a, int& b)
{
    int t = a;
    a = b;
    b = t;
}
