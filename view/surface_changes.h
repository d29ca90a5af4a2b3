#pragma once

#include <optional>

#include "shell/services.h"

// The incremental painting's changes on their way to the screen. Drawing goes to the
// off-screen surface only: cell draws wait in shownCells to be drawn in runs, and each change
// notes its rectangle here. The window gets the noted rectangle in one copy when a painting
// operation ends, or when the outermost WindowUpdateBatch around several of them ends.

// Draws the waiting cells onto the surface.
void drawWaitingCells();
void noteSurfaceChange(const Rect& changed);
// The waiting cells and the noted rectangle onto the window, unless a batch holds them back.
void showChangesOnWindow();
// Drops what is waiting and noted, as a new process would start.
void forgetSurfaceChanges();

// Holds the window's copies back while it lives. The outermost one makes one copy when it
// ends: into the paint context it was given, or into a window context of its own.
class WindowUpdateBatch {
 public:
  WindowUpdateBatch();
  explicit WindowUpdateBatch(DrawContext paintContext);
  ~WindowUpdateBatch();
  WindowUpdateBatch(const WindowUpdateBatch&) = delete;
  WindowUpdateBatch& operator=(const WindowUpdateBatch&) = delete;

 private:
  bool outermost_;
};
