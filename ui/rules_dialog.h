#pragma once
// The "Rules" dialog: the thirteen rule variants on four pages, with the "Hoyle Rules" preset.
//
// Use:
//     TfmRules dialog(ruleSettings, gameInProgress, this);   // or pass a start page
//     if (dialog.exec() == QDialog::Accepted) {
//         RuleSettings chosen = dialog.rules();   // caller stores it with saveRules and, when
//         ...                                     // initialBlock changed, refreezes the pile
//     }
// The dialog never writes settings itself; Cancel leaves the caller's rules untouched. While a
// game is in progress every rule control and "Hoyle Rules" are disabled and lbWarning says why;
// OK then returns the rules it was given. The page shown last is remembered until the program
// ends and opened again next time.

#include "rules.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace velnora::ui {

// Modal editor of RuleSettings; objectName "TfmRules", controls named after the rule they set.
class TfmRules : public QDialog {
    Q_OBJECT
public:
    // Pages in the order of the tabs; also the numbers the external open-at-page command uses.
    enum Page { discardPilePage = 0, redThreesPage = 1, velnorasPage = 2, otherPage = 3 };

    // Fills the controls from rules; startPage < 0 opens the page that was shown last.
    TfmRules(const RuleSettings& rules, bool gameInProgress, QWidget* parent = nullptr,
             int startPage = -1);
    ~TfmRules() override;

    // The rules as the controls show them now (the dialog's answer after OK).
    RuleSettings rules() const;

    // The page the next dialog opens on when no start page is given.
    static int rememberedPage();

    // Remembers the page as the dialog closes, whichever button closed it.
    void done(int result) override;

private:
    // Event handlers of the controls
    void bnHoyleClick();
    void ckInitFreezeClick();
    void ckNaturalPairClick();
    void rgGoOutClick();

    void buildPages();
    void setControls(const RuleSettings& rules);
    static void setItemIndex(QButtonGroup* group, int index);

    bool gameInProgress_;
    QTabWidget* pages_ = nullptr;
    QLabel* lbWarning_ = nullptr;
    QPushButton* bnHoyle_ = nullptr;
    QPushButton* bnOK_ = nullptr;
    QPushButton* bnCancel_ = nullptr;

    QCheckBox* ckRequired_ = nullptr;
    QGroupBox* rgGoOut_ = nullptr;
    QButtonGroup* goOutItems_ = nullptr;
    QGroupBox* rgDrawn_ = nullptr;
    QButtonGroup* drawnItems_ = nullptr;
    QCheckBox* ckAddTop_ = nullptr;
    QCheckBox* ckTopCount_ = nullptr;
    QCheckBox* ckInitFreeze_ = nullptr;
    QCheckBox* ckInitBlock_ = nullptr;
    QCheckBox* ckNaturalPair_ = nullptr;
    QCheckBox* ckAddExisting_ = nullptr;
    QCheckBox* ckDrawExtra_ = nullptr;
    QCheckBox* ckFreezeDiscard_ = nullptr;
    QCheckBox* ckBonus_ = nullptr;
    QCheckBox* ckWildcardAllowed_ = nullptr;

    static int lastPage_;
};

} // namespace velnora::ui
