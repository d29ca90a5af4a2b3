#include "shell/win32/win32_dialog.h"

#include <vector>

namespace {

// What one open dialog carries besides its window: the portable procedure, and the bold
// font once a control asked for it (the dialog owns it and deletes it when destroyed).
struct DialogSession {
  DialogProcedure* procedure;
  HFONT boldFont = nullptr;
};

class Win32DialogControls final : public DialogControls {
 public:
  Win32DialogControls(HWND dialog, DialogSession& session) : dialog_(dialog), session_(session) {}

  WindowRef window() override { return reinterpret_cast<WindowRef>(dialog_); }

  void setText(int control, const std::string& text) override {
    SetDlgItemTextA(dialog_, control, text.c_str());
  }

  std::string text(int control, size_t maxChars) override {
    std::vector<char> buffer(maxChars + 1, '\0');
    const UINT length =
        GetDlgItemTextA(dialog_, control, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), length);
  }

  unsigned unsignedNumber(int control) override {
    return GetDlgItemInt(dialog_, control, nullptr, FALSE);
  }

  int signedNumber(int control) override {
    return static_cast<int>(GetDlgItemInt(dialog_, control, nullptr, TRUE));
  }

  void enable(int control, bool enabled) override {
    EnableWindow(GetDlgItem(dialog_, control), enabled ? TRUE : FALSE);
  }

  void setChecked(int control, bool checked) override {
    SendDlgItemMessageA(dialog_, control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }

  bool isChecked(int control) override {
    return SendDlgItemMessageA(dialog_, control, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }

  void setReadOnly(int control, bool readOnly) override {
    SendDlgItemMessageA(dialog_, control, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
  }

  void setBoldFont(int control) override {
    if (!session_.boldFont) {
      LOGFONTA font{};
      GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
      font.lfWeight = FW_BOLD;
      session_.boldFont = CreateFontIndirectA(&font);
    }
    SendDlgItemMessageA(dialog_, control, WM_SETFONT,
                        reinterpret_cast<WPARAM>(session_.boldFont), TRUE);
  }

  void end(int result) override { EndDialog(dialog_, result); }

 private:
  HWND dialog_;
  DialogSession& session_;
};

INT_PTR CALLBACK forwardingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
  }
  auto* session = reinterpret_cast<DialogSession*>(GetWindowLongPtrA(dialog, DWLP_USER));
  // Messages that come before WM_INITDIALOG have no session yet.
  if (!session) return FALSE;

  switch (message) {
    case WM_INITDIALOG: {
      Win32DialogControls controls(dialog, *session);
      return session->procedure->onInit(controls) ? TRUE : FALSE;
    }
    case WM_COMMAND: {
      Win32DialogControls controls(dialog, *session);
      return session->procedure->onCommand(controls, LOWORD(wParam), HIWORD(wParam)) ? TRUE
                                                                                     : FALSE;
    }
    case WM_DESTROY:
      if (session->boldFont) {
        DeleteObject(session->boldFont);
        session->boldFont = nullptr;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

int runDialogTemplate(HINSTANCE instance, int templateId, HWND owner,
                      DialogProcedure& procedure) {
  DialogSession session{&procedure};
  const INT_PTR result =
      DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, forwardingDialogProc,
                      reinterpret_cast<LPARAM>(&session));
  return static_cast<int>(result);
}
