#pragma once

#include "shell/services.h"

// The main window's drawing context, taken for the length of one painting step and given
// back when the holder goes out of scope.
class HeldWindowContext {
 public:
  HeldWindowContext() : context_(services().windowContext()) {}
  ~HeldWindowContext() { services().releaseWindowContext(context_); }
  HeldWindowContext(const HeldWindowContext&) = delete;
  HeldWindowContext& operator=(const HeldWindowContext&) = delete;

  DrawContext context() const { return context_; }

 private:
  DrawContext context_;
};
