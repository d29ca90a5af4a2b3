#include "shell/memory/memory_services.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include "resources/resource_ids.h"

namespace {

// The menu resource starts with these items checked.
bool checkedInTheMenuResource(int command) {
  return command == IDM_USE_MARKS || command == IDM_SAFE_START || command == IDM_USE_BIG_ICONS;
}

// The dialog manager's reading of a number: leading blanks, an optional sign, digits; text
// after the digits is ignored; no digits or a value out of range reads as 0.
std::optional<long long> dialogNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
  long long value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 0xFFFFFFFFLL) return std::nullopt;
  }
  return negative ? -value : value;
}

}  // namespace

void MemoryDialog::click(int control) {
  const auto found = controls_.find(control);
  if (found != controls_.end() && !found->second.enabled) {
    throw std::logic_error("click on a disabled control " + std::to_string(control));
  }
  command(control, 0);
}

void MemoryDialog::toggleCheckBox(int control) {
  controls_[control].checked = !controls_[control].checked;
  click(control);
}

void MemoryDialog::command(int control, int notification) {
  procedure_.onCommand(*this, control, notification);
}

std::string MemoryDialog::text(int control, size_t maxChars) {
  const std::string& full = controls_[control].text;
  return full.substr(0, std::min(full.size(), maxChars));
}

unsigned MemoryDialog::unsignedNumber(int control) {
  const std::optional<long long> value = dialogNumber(controls_[control].text);
  if (!value || *value < 0 || *value >= 0xFFFFFFFFLL) return 0;
  return static_cast<unsigned>(*value);
}

int MemoryDialog::signedNumber(int control) {
  const std::optional<long long> value = dialogNumber(controls_[control].text);
  if (!value || *value <= INT_MIN || *value >= INT_MAX) return 0;
  return static_cast<int>(*value);
}

MemoryServices::MemoryServices(ImageSource images) : images_(std::move(images)) {
  windowSurface_ = addSurface(RgbImage{});
  resizeWindowSurface();
}

void MemoryServices::answerDialog(int templateId, std::function<void(MemoryDialog&)> answer) {
  dialogAnswers_[templateId].push_back(std::move(answer));
}

void MemoryServices::answerMessageBox(int answer) { messageBoxAnswers_.push_back(answer); }

bool MemoryServices::takePaintRequest() {
  const bool requested = paintRequested_;
  paintRequested_ = false;
  return requested;
}

bool MemoryServices::menuChecked(int command) const {
  const auto found = menuChecks_.find(command);
  return found != menuChecks_.end() ? found->second : checkedInTheMenuResource(command);
}

int MemoryServices::systemMetric(SystemMetric metric) {
  switch (metric) {
    case SystemMetric::ScreenWidth:
      return screenWidth;
    case SystemMetric::ScreenHeight:
      return screenHeight;
    case SystemMetric::CaptionHeight:
      return captionHeight;
  }
  return 0;
}

Rect MemoryServices::workArea() {
  return workAreaRect.value_or(Rect{0, 0, screenWidth, screenHeight});
}

Rect MemoryServices::adjustWindowRect(const Rect& client) {
  return {client.left - kFrameSide, client.top - kFrameTop, client.right + kFrameSide,
          client.bottom + kFrameSide};
}

void MemoryServices::setMinimised(bool minimised) {
  minimised_ = minimised;
  resizeWindowSurface();
  if (!minimised) paintRequested_ = true;
}

Rect MemoryServices::clientRect() {
  if (minimised_) return {0, 0, 0, 0};
  return {0, 0, std::max(0, window_.width() - 2 * kFrameSide),
          std::max(0, window_.height() - kFrameTop - kFrameSide)};
}

void MemoryServices::moveWindow(int32_t left, int32_t top, int32_t width, int32_t height) {
  window_ = {left, top, left + width, top + height};
  windowMoves_.push_back(window_);
  resizeWindowSurface();
  paintRequested_ = true;
}

void MemoryServices::setWindowRegion(const std::vector<PixelPoint>& outline) {
  region_ = outline;
  paintRequested_ = true;
}

void MemoryServices::closeMainWindow() {
  if (onCloseRequest) onCloseRequest();
}

DrawContext MemoryServices::windowContext() {
  ++windowContextsHeld_;
  ++windowContextsTaken_;
  return windowSurface_;
}

void MemoryServices::releaseWindowContext(DrawContext context) {
  if (context != windowSurface_ || windowContextsHeld_ == 0) {
    throw std::logic_error("released a window context that was not held");
  }
  --windowContextsHeld_;
}

DrawContext MemoryServices::loadImage(int bitmapId) {
  std::optional<RgbImage> image = images_ ? images_(bitmapId) : std::nullopt;
  // A failed load gives an empty image that draws nothing, as an unloaded bitmap would.
  return addSurface(image ? std::move(*image) : RgbImage{});
}

DrawContext MemoryServices::createOffscreenSurface(int32_t width, int32_t height) {
  offscreen_ = createImage(width, height);
  return *offscreen_;
}

DrawContext MemoryServices::createImage(int32_t width, int32_t height) {
  RgbImage image;
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<size_t>(width) * height, 0);
  return addSurface(std::move(image));
}

void MemoryServices::bitBlt(DrawContext destination, int32_t x, int32_t y, int32_t width,
                            int32_t height, DrawContext source, int32_t sourceX,
                            int32_t sourceY, RasterOp op) {
  RgbImage& to = surfaces_.at(destination);
  const RgbImage& from = surfaces_.at(source);
  // Only pixels inside both images take part.
  const int32_t firstX = std::max({0, -x, -sourceX});
  const int32_t endX = std::min({width, to.width - x, from.width - sourceX});
  const int32_t firstY = std::max({0, -y, -sourceY});
  const int32_t endY = std::min({height, to.height - y, from.height - sourceY});
  for (int32_t dy = firstY; dy < endY; ++dy) {
    const uint32_t* read = &from.pixels[static_cast<size_t>(sourceY + dy) * from.width];
    uint32_t* written = &to.pixels[static_cast<size_t>(y + dy) * to.width];
    for (int32_t dx = firstX; dx < endX; ++dx) {
      const uint32_t pixel = read[sourceX + dx];
      uint32_t& target = written[x + dx];
      switch (op) {
        case RasterOp::SrcCopy:
          target = pixel;
          break;
        case RasterOp::SrcAnd:
          target &= pixel;
          break;
        case RasterOp::SrcPaint:
          target |= pixel;
          break;
      }
    }
  }
}

void MemoryServices::drawRectangle(DrawContext context, const Rect& rect, uint32_t fillColour) {
  RgbImage& to = surfaces_.at(context);
  // Like the platform's Rectangle: right and bottom edges excluded, the pen on the border.
  for (int32_t y = rect.top; y < rect.bottom; ++y) {
    if (y < 0 || y >= to.height) continue;
    for (int32_t x = rect.left; x < rect.right; ++x) {
      if (x < 0 || x >= to.width) continue;
      const bool border =
          x == rect.left || x == rect.right - 1 || y == rect.top || y == rect.bottom - 1;
      to.pixels[static_cast<size_t>(y) * to.width + x] = border ? 0x000000 : fillColour;
    }
  }
}

int MemoryServices::runDialog(int templateId, DialogProcedure& procedure) {
  dialogsRun_.push_back(templateId);
  MemoryDialog dialog(*this, templateId, nextDialogRef_++, procedure);
  procedure.onInit(dialog);
  if (dialog.ended()) return dialog.result();

  dialogsShown_.push_back({templateId, dialog.controls()});
  auto& answers = dialogAnswers_[templateId];
  if (answers.empty()) {
    throw std::logic_error("dialog " + std::to_string(templateId) + " shown with no answer");
  }
  auto answer = std::move(answers.front());
  answers.pop_front();
  answer(dialog);
  if (!dialog.ended()) {
    throw std::logic_error("dialog " + std::to_string(templateId) + " left open by its answer");
  }
  return dialog.result();
}

int MemoryServices::messageBox(WindowRef owner, const std::string& text,
                               const std::string& caption, unsigned style) {
  messageBoxes_.push_back({owner, text, caption, style});
  if (!messageBoxAnswers_.empty()) {
    const int answer = messageBoxAnswers_.front();
    messageBoxAnswers_.pop_front();
    return answer;
  }
  return (style & 0x000F) == box::kYesNo ? box::kAnswerYes : box::kAnswerOk;
}

DrawContext MemoryServices::addSurface(RgbImage image) {
  const DrawContext context = nextContext_++;
  surfaces_.emplace(context, std::move(image));
  return context;
}

void MemoryServices::resizeWindowSurface() {
  const Rect client = clientRect();
  RgbImage& surface = surfaces_.at(windowSurface_);
  RgbImage resized;
  resized.width = client.width();
  resized.height = client.height();
  resized.pixels.assign(static_cast<size_t>(resized.width) * resized.height, 0);
  for (int32_t y = 0; y < std::min(surface.height, resized.height); ++y) {
    for (int32_t x = 0; x < std::min(surface.width, resized.width); ++x) {
      resized.pixels[static_cast<size_t>(y) * resized.width + x] = surface.at(x, y);
    }
  }
  surface = std::move(resized);
}
