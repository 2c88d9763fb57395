// The widget tests frame their dialogs and give F1 help in them as the program does (the entry
// point is shared with test binaries that do not link the widgets, so it is set up here).

#include "context_help.h"
#include "dialog_look.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

class DialogFrames : public ::testing::Environment {
public:
    void SetUp() override {
        velnora::ui::look::frameDialogsPlainly(*qApp);
        velnora::ui::helpOnF1(*qApp);
    }
};

[[maybe_unused]] const auto* const kRegistered =
    ::testing::AddGlobalTestEnvironment(new DialogFrames);

} // namespace
