// Program entry: the process-wide start-up, the application object, the main
// window and the message loop. The tool takes no command-line arguments.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/toolkit/app_style.h"
#include "app/window/main_window.h"
#include "foundation/format_settings.h"

namespace {

constexpr char kApplicationTitle[] = "Dravolin Quenzaro";

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// Qt would otherwise abort with its own platform-plugin error.
bool HasDisplay() { return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM"); }

}  // namespace

int main(int argc, char** argv) {
  InitializeFormatSettings();
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "palette_designer: no display found (set DISPLAY or WAYLAND_DISPLAY, or run under xvfb-run)\n");
    return EXIT_FAILURE;
  }
  QApplication app(argc, argv);
  ApplyApplicationStyle(app);
  QApplication::setApplicationName(kApplicationTitle);
  QApplication::setApplicationDisplayName(kApplicationTitle);
  TForm1 form;
  form.show();
  return app.exec();
}
