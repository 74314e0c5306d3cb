#include "manager/ui/setup/details/CServerDetailsPlayerOptionsPropertyPage.h"

#include "manager/setups/ServerSetup.h"
#include "manager/ui/setup/details/ChoiceLists.h"
#include "manager/ui/setup/details/CleanTextValidator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace kv::manager::ui {

CServerDetailsPlayerOptionsPropertyPage::CServerDetailsPlayerOptionsPropertyPage(setups::ServerSetup& setup,
                                                                                 gui::Prompter& prompter,
                                                                                 QWidget* parent)
    : CServerDetailsPage(setup, prompter, QStringLiteral("players"), parent) {
    auto* form = new QFormLayout(this);
    addText(form, "Player Password:", setup.m_csPlayerPassword, "playerPassword");
    QComboBox* players = addList(form, "Maximum Players Allowed On Server:", "maxPlayers");
    choices::addNumbers(players, 2, 26);
    bindings_.choice(players, setup.m_iMaxPlayers, choices::number);
    QComboBox* team = addList(form, "Players Per Team:", "maxTeamSize");
    choices::addNumbers(team, 1, 14);
    bindings_.choice(team, setup.m_iMaxTeamSize, choices::number);
    QComboBox* minimum = addList(form, "Minimum Players To Start Round:", "minNetPlayers");
    choices::addNumbers(minimum, 1, 10);
    bindings_.choice(minimum, setup.m_iMinNetPlayers, choices::number);
    QComboBox* minHonor = addList(form, "Minimum Honor To Join Server:", "minHonor");
    choices::addNumbers(minHonor, 1, 1);
    choices::addNumbers(minHonor, 5, 50, 5);
    bindings_.choice(minHonor, setup.m_iMinHonor, choices::number);
    QComboBox* maxHonor = addList(form, "Maximum Honor To Join Server:", "maxHonor");
    choices::addNumbers(maxHonor, 20, 100, 5);
    bindings_.choice(maxHonor, setup.m_iMaxHonor, choices::number);
    addFlag(form, "Players balance the teams themselves", setup.m_fPlayersBalanceTeam, "playersBalanceTeam");
    addFlag(form, "Balance the teams automatically between rounds", setup.m_fAutoBalanceBetweenRounds,
            "autoBalanceBetweenRounds");
    addFlag(form, "Never balance the teams automatically", setup.m_fNeverAutoBalance, "neverAutoBalance");

    const QString mapDefault = QStringLiteral("Map Default");
    QComboBox* npcs = addList(form, "Coop Map: Maximum  NPCs to Spawn:", "maxNPCs");
    choices::addWord(npcs, mapDefault, -1);
    choices::addNumbers(npcs, 20, 50);
    bindings_.choice(npcs, setup.m_iMaxAINPCsToSpawn, choices::number);
    QComboBox* ratio = addList(form, "Coop Map: Player to NPCs Ratio:", "npcRatio");
    ratio->addItem(mapDefault, 0.0);
    for (int tenths = 20; tenths <= 50; tenths += 5)
        ratio->addItem(QString::number(tenths / 10.0, 'f', 1), tenths / 10.0);
    bindings_.choice(ratio, setup.m_fpMaxNPCToPlayerRatio, [](float v) { return QString::number(v, 'f', 2); });

    // The 32 group slots as the numbers in use; -1 marks a free slot.
    auto* groups = new QLineEdit(this);
    groups->setObjectName(QStringLiteral("legalGroups"));
    groups->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9 ]*")), groups));
    groups->setPlaceholderText(QStringLiteral("every group"));
    form->addRow(QStringLiteral("Player groups allowed (numbers separated by spaces):"), groups);
    bindings_.custom(
        [groups, &setup] {
            QStringList used;
            for (int g : setup.m_aiLegalGroups)
                if (g != -1)
                    used << QString::number(g);
            groups->setText(used.join(u' '));
        },
        [groups, &setup] {
            setup.m_aiLegalGroups.fill(-1);
            std::size_t slot = 0;
            for (const QString& part : groups->text().split(u' ', Qt::SkipEmptyParts))
                if (slot < setup.m_aiLegalGroups.size())
                    setup.m_aiLegalGroups[slot++] = part.toInt();
        },
        [groups] { return QVariant(groups->text()); });
}

} // namespace kv::manager::ui
