#pragma once
// The memory a GL driver allocates and frees again every frame. A software rasteriser
// bins each frame's triangles into blocks it frees when the frame is drawn; with the C
// library's default settings the freed top of the heap goes back to the system at once
// and comes back next frame as fresh pages, each a page fault. For a screen of text that
// was most of the driver's time on the game's thread.

// Makes the heap keep memory freed at its top (up to a bound) and serve blocks of up to
// 32 MB itself, so that memory freed in one frame is reused in the next. Affects the whole
// process; calling it again changes nothing.
void KeepFrameMemoryInHeap();
