// Entry of the window tests: one application object for every test, on the
// offscreen platform unless another one is asked for.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/Translations.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  furlong::InstallQtTranslations(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
