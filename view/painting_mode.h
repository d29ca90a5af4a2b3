#pragma once

// How the board view puts its pictures on screen.
//
// Incremental, the program's way: drawing goes to the off-screen surface, only cells whose
// picture differs from the one the surface shows are drawn again, and the changed rectangle
// reaches the window in one copy at the end of the operation.
//
// Literal: every painting operation redraws everything it covers, each cell update takes a
// window context of its own, and repaints copy the whole surface. It gives the same pixels,
// much more slowly, and is kept as the reference that tests and the benchmark hold the
// incremental way against.
enum class PaintingMode { Incremental, Literal };

// Takes effect between two painting operations; the incremental way starts again from a
// surface it knows nothing of.
void usePaintingMode(PaintingMode mode);
PaintingMode paintingMode();

class PaintingWay;
// The way painting goes now: the literal one in the literal mode, and also where the
// off-screen surface cannot hold the whole picture: before the first game start has made it,
// and for a field that reaches past it.
PaintingWay& currentPainting();
