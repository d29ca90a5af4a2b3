#include "hiscores/server_dialogs.h"

#include <string>
#include <utility>

#include "resources/resource_ids.h"
#include "shell/scan_decimal.h"
#include "shell/services.h"
#include "shell/shell_state.h"

namespace {

constexpr int kButtonClicked = 0;

class SetProxyDialog final : public DialogProcedure {
 public:
  bool onInit(DialogControls& dialog) override {
    dialog.setText(IDC_PROXY_PORT, std::to_string(gameSettings.proxyport));
    dialog.setText(IDC_PROXY_ADDRESS, gameSettings.proxyaddr);
    dialog.setChecked(IDC_PROXY_USE, gameSettings.proxy != 0);
    if (gameSettings.proxy == 0) setFieldsReadOnly(dialog, true);
    return true;
  }

  bool onCommand(DialogControls& dialog, int control, int notification) override {
    if (notification != kButtonClicked) return false;
    switch (control) {
      case IDC_PROXY_USE:
        setFieldsReadOnly(dialog, !dialog.isChecked(IDC_PROXY_USE));
        return true;
      case IDC_PROXY_OK:
        accept(dialog);
        return true;
      case IDC_PROXY_CANCEL:
        dialog.end(0);
        return true;
      default:
        return false;
    }
  }

 private:
  static void setFieldsReadOnly(DialogControls& dialog, bool readOnly) {
    dialog.setReadOnly(IDC_PROXY_ADDRESS, readOnly);
    dialog.setReadOnly(IDC_PROXY_PORT, readOnly);
  }

  static void refusePort() {
    services().messageBox(0, kInvalidPortText, kInvalidPortCaption, box::kIconError | box::kOk);
  }

  // The address and the check box are taken before the port is converted, so a port that is
  // not a number leaves them changed while the dialog stays open for the correction.
  static void accept(DialogControls& dialog) {
    const std::string port = dialog.text(IDC_PROXY_PORT, kSettingsTextMax);
    if (port.empty()) {
      refusePort();
      return;
    }
    std::string address = dialog.text(IDC_PROXY_ADDRESS, kSettingsTextMax);
    if (address.empty()) address = kNoProxyAddress;
    setProxy(std::move(address), dialog.isChecked(IDC_PROXY_USE));

    size_t position = 0;
    int32_t value = 0;
    switch (scanDecimal(port, position, value)) {
      case ScanOutcome::NoNumber:
        refusePort();
        return;
      case ScanOutcome::Number:
        setProxyPort(value);
        break;
      case ScanOutcome::EndOfInput:  // nothing but white space: the port stays as it was
        break;
    }
    dialog.end(0);
  }
};

class SetServerDialog final : public DialogProcedure {
 public:
  bool onInit(DialogControls& dialog) override {
    dialog.setText(IDC_SERVER_ADDRESS, gameSettings.serveraddr);
    dialog.setText(IDC_SERVER_PATH, gameSettings.serverpath);
    dialog.setText(IDC_SERVER_PORT, std::to_string(gameSettings.serverport));
    return true;
  }

  bool onCommand(DialogControls& dialog, int control, int notification) override {
    if (notification != kButtonClicked) return false;
    switch (control) {
      case IDC_SERVER_OK: {
        std::string address = dialog.text(IDC_SERVER_ADDRESS, kSettingsTextMax);
        std::string path = dialog.text(IDC_SERVER_PATH, kSettingsTextMax);
        setHiscoreServer(std::move(address), std::move(path), dialog.signedNumber(IDC_SERVER_PORT));
        dialog.end(0);
        return true;
      }
      case IDC_SERVER_CANCEL:
        dialog.end(0);
        return true;
      default:
        return false;
    }
  }
};

}  // namespace

void runSetProxyDialog() { runDialogWith<SetProxyDialog>(IDD_SET_PROXY); }

void runSetServerDialog() { runDialogWith<SetServerDialog>(IDD_SET_SERVER); }
