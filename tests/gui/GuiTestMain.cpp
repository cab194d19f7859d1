// Entry of the window tests: one application object for every test, on the
// offscreen platform unless another one is asked for.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "app/Translations.h"

int main(int argc, char** argv) {
  // An exception that escapes through Qt's frames ends the run: say which.
  std::set_terminate([] {
    try {
      if (std::current_exception()) std::rethrow_exception(std::current_exception());
      std::fputs("terminate called without an exception\n", stderr);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "terminate called after throwing: %s\n", e.what());
    } catch (...) {
      std::fputs("terminate called after throwing a non-standard exception\n", stderr);
    }
    std::fflush(stderr);
    std::abort();
  });
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  furlong::InstallQtTranslations(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
