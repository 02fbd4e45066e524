// Benchmark report: start-up to the first frame, the triangles and fragments of one frame and the peak memory,
// logged to the trace file after the frame rate.
#pragma once

// After each frame of a benchmark run, with the frames shown before it.
void benchmarkFrameShown(int frame);
void logBenchmarkReport(int benchmark);
