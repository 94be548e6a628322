#include "video/frame_heap.h"

#include <malloc.h>

void KeepFrameMemoryInHeap() {
#ifdef __GLIBC__
  // Grow the heap 64 MB at a time, give memory back only beyond 256 MB free at its top,
  // and map separately only blocks above 32 MB. The pages kept are those a frame used.
  mallopt(M_TOP_PAD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
}
