// The widget tests frame their dialogs as the program does (the entry point is shared with
// test binaries that do not link the widgets, so it is set up here).

#include "dialog_look.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

class DialogFrames : public ::testing::Environment {
public:
    void SetUp() override { velnora::ui::look::frameDialogsPlainly(*qApp); }
};

[[maybe_unused]] const auto* const kRegistered =
    ::testing::AddGlobalTestEnvironment(new DialogFrames);

} // namespace
