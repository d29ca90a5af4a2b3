// Prints the texts of the visible top-level windows with a given title and of their
// controls, with their screen rectangles, so that the Wine driver can read message boxes
// and dialogs, which the X server only knows as pixels.
//
//   window_texts.exe TITLE
//
// One line per window, "window CLASS LEFT TOP RIGHT BOTTOM", followed by two lines per
// control, "control ID CLASS LEFT TOP RIGHT BOTTOM TEXT" and "room ID LEFT TOP RIGHT BOTTOM
// FITTING ALIGNMENT" (where and how its text is drawn; see printTextRoom). Texts are escaped: \n, \r, \t,
// \\ and \xHH for other bytes outside printable ASCII. Exit status 0 when a window was
// found, 1 when none was, 2 on a usage error.

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string escaped(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c < 0x20 || c > 0x7E) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// WM_GETTEXT reaches controls of other processes too; the timeout keeps a hung program
// from hanging the reader.
std::string textOf(HWND window) {
  char buffer[4096] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                           SMTO_ABORTIFHUNG, 2000, &copied)) {
    return "";
  }
  return std::string(buffer, copied < sizeof buffer ? copied : sizeof buffer - 1);
}

std::string classOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

void printRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  std::printf(" %ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
}

// How a static control lines up its text: "left", "centre" or "right"; "-" for other
// controls and for statics that show a picture.
const char* staticAlignment(HWND control) {
  if (classOf(control) != "Static") return "-";
  switch (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_LEFTNOWORDWRAP:
    case SS_SIMPLE:
      return "left";
    case SS_CENTER:
      return "centre";
    case SS_RIGHT:
      return "right";
    default:
      return "-";
  }
}

// The rectangle the control draws its text in, on the screen: an edit control's formatting
// rectangle, any other control's client area. An edit control also says how many characters
// of its text fit in that rectangle, measured with its own font; other controls give -1.
void printTextRoom(HWND control) {
  RECT room{};
  long fitting = -1;
  DWORD_PTR answer = 0;
  if (classOf(control) == "Edit" &&
      SendMessageTimeoutA(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room),
                          SMTO_ABORTIFHUNG, 2000, &answer)) {
    // The character nearest the last column of the room: past the end when the text fits.
    if (SendMessageTimeoutA(control, EM_CHARFROMPOS, 0,
                            MAKELPARAM(room.right - 1, (room.top + room.bottom) / 2),
                            SMTO_ABORTIFHUNG, 2000, &answer)) {
      fitting = LOWORD(answer);
    }
  } else {
    GetClientRect(control, &room);
  }
  MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&room), 2);
  std::printf("room %d %ld %ld %ld %ld %ld %s\n", GetDlgCtrlID(control), room.left, room.top,
              room.right, room.bottom, fitting, staticAlignment(control));
}

BOOL CALLBACK printControl(HWND control, LPARAM) {
  std::printf("control %d %s", GetDlgCtrlID(control), classOf(control).c_str());
  printRect(control);
  std::printf(" %s\n", escaped(textOf(control)).c_str());
  printTextRoom(control);
  return TRUE;
}

struct Search {
  const char* title;
  int found;
};

// The caption comes from the system, not from the window's thread, which may be busy.
std::string captionOf(HWND window) {
  char caption[1024] = {};
  GetWindowTextA(window, caption, sizeof caption);
  return caption;
}

BOOL CALLBACK printIfTitled(HWND window, LPARAM parameter) {
  Search* search = reinterpret_cast<Search*>(parameter);
  if (!IsWindowVisible(window) || captionOf(window) != search->title) return TRUE;
  ++search->found;
  std::printf("window %s", classOf(window).c_str());
  printRect(window);
  std::printf("\n");
  EnumChildWindows(window, printControl, 0);
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: window_texts TITLE\n");
    return 2;
  }
  Search search{argv[1], 0};
  EnumWindows(printIfTitled, reinterpret_cast<LPARAM>(&search));
  std::fflush(stdout);
  return search.found ? 0 : 1;
}
