#include "shell/help_menu.h"

#include <cstdio>

#include "resources/resource_ids.h"
#include "shell/services.h"

namespace {

// The existence test names the folder the way the platform does; the shell takes the
// forward slash everywhere.
#ifdef _WIN32
constexpr char kHelpDocumentOnDisk[] = "Help\\help.htm";
#else
constexpr char kHelpDocumentOnDisk[] = "Help/help.htm";
#endif

class AboutDialog final : public DialogProcedure {
 public:
  bool onInit(DialogControls&) override { return true; }
  // Only Ok closes it: Escape and Enter arrive as other ids and are not handled.
  bool onCommand(DialogControls& dialog, int control, int) override {
    if (control != IDC_ABOUT_OK) return false;
    dialog.end(0);
    return true;
  }
};

}  // namespace

void openHowToPlay() {
  std::FILE* help = std::fopen(kHelpDocumentOnDisk, "r");
  if (!help) {
    Services& platform = services();
    platform.messageBox(platform.mainWindow(), kHelpMissingText, kHelpMissingCaption,
                        box::kIconError | box::kOk);
    return;
  }
  std::fclose(help);
  services().shellOpen(kHelpDocument);
}

void openBugReport() { services().shellOpen(kBugReportAddress); }

void runAboutDialog() { runDialogWith<AboutDialog>(IDD_ABOUT); }
