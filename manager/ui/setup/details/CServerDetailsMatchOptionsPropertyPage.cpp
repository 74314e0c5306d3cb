#include "manager/ui/setup/details/CServerDetailsMatchOptionsPropertyPage.h"

#include "manager/setups/ServerSetup.h"
#include "manager/ui/setup/details/ChoiceLists.h"
#include "manager/ui/setup/details/CleanTextValidator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>

namespace kv::manager::ui {

CServerDetailsMatchOptionsPropertyPage::CServerDetailsMatchOptionsPropertyPage(setups::ServerSetup& setup,
                                                                               gui::Prompter& prompter, QWidget* parent)
    : CServerDetailsPage(setup, prompter, QStringLiteral("match"), parent) {
    auto* form = new QFormLayout(this);
    QComboBox* rounds = addList(form, "Rounds Per Match:", "roundsPerMatch");
    choices::addNumbers(rounds, 1, 25);
    bindings_.choice(rounds, setup.m_iRoundsPerMatch, choices::number);
    QComboBox* length = addList(form, "Round Length (minutes):", "roundLength");
    choices::addNumbers(length, 1, 25);
    bindings_.choice(length, setup.m_iRoundLength, choices::number);
    QComboBox* score = addList(form, "Scoreboard:", "scoreMode");
    for (int i = 0; i < setups::kScoreModeCount; ++i) {
        const std::string_view word = setups::scoreModeWord(i);
        score->addItem(QString::fromLatin1(word.data(), static_cast<qsizetype>(word.size())),
                       QByteArray(word.data(), static_cast<qsizetype>(word.size())));
    }
    bindings_.choice(score, setup.m_csScoreMode);

    // One choice for two flags; a file that sets both shows "Force MILES" and keeps both until another is chosen.
    QComboBox* mode = addList(form, "Game Mode:", "gameMode");
    mode->addItems(
        {QStringLiteral("Default Game Mode"), QStringLiteral("Force Live Fire"), QStringLiteral("Force MILES")});
    bindings_.custom([mode, &setup] { mode->setCurrentIndex(setup.m_fForceMiles    ? 2
                                                            : setup.m_fForceNormal ? 1
                                                                                   : 0); },
                     [mode, &setup] {
                         setup.m_fForceNormal = mode->currentIndex() == 1 ? 1 : 0;
                         setup.m_fForceMiles = mode->currentIndex() == 2 ? 1 : 0;
                     },
                     [mode] { return QVariant(mode->currentIndex()); });

    addFlag(form, "Allow multiplayer cheats", setup.m_fCheatsEnabled, "cheatsEnabled");
    addFlag(form, "Disable player shadows", setup.m_fDisablePlayerShadows, "disablePlayerShadows");
}

} // namespace kv::manager::ui
