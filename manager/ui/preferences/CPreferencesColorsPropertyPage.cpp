#include "manager/ui/preferences/CPreferencesColorsPropertyPage.h"

#include "manager/core/ManagerContext.h"
#include "manager/ui/preferences/PreferencesHelp.h"

#include "gui/ColourRef.h"
#include "gui/Prompter.h"
#include "gui/SlotGuard.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv::manager::ui {

namespace {

using Colour = CPreferencesColorsPropertyPage::Colour;

int indexOf(Colour which) {
    return static_cast<int>(which);
}

struct ColourButton {
    Colour which;
    const char* name;
    const char* text;
    const char* caption; // of the colour chooser
};

const ColourButton kButtons[] = {
    {Colour::MonitorText, "monitorTextColor", "Text Color", "Monitor Log Window Text Color"},
    {Colour::MonitorBackground, "monitorBgColor", "BG Color", "Monitor Log Window Background Color"},
    {Colour::ListText, "listTextColor", "Text Color", "Server Setup List Text Color"},
    {Colour::ListBackground, "listBgColor", "BG Color", "Server Setup List Background Color"},
};

} // namespace

CPreferencesColorsPropertyPage::CPreferencesColorsPropertyPage(const core::ManagerContext& context,
                                                               gui::Prompter& prompter, gui::DesktopServices& desktop,
                                                               QWidget* parent)
    : CPreferencesPage(context, prompter, desktop, help_topic::kColors, parent) {
    const core::ManagerSettings& settings = context.settings;
    colours_[indexOf(Colour::MonitorText)] = gui::fromColourRef(settings.textColor);
    colours_[indexOf(Colour::MonitorBackground)] = gui::fromColourRef(settings.bgColor);
    colours_[indexOf(Colour::ListText)] = gui::fromColourRef(settings.listTextColor);
    colours_[indexOf(Colour::ListBackground)] = gui::fromColourRef(settings.listBgColor);

    // The monitor sample: text in the monitor's colours, as the output monitor draws its lines.
    monitorSample_ = new QLabel(QStringLiteral("Server starting\nMap Loaded\n..."), this);
    monitorSample_->setObjectName(QStringLiteral("monitorSample"));
    monitorSample_->setAutoFillBackground(true);
    monitorSample_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    monitorSample_->setMargin(6);
    monitorSample_->setFrameShape(QFrame::StyledPanel);
    monitorSample_->setMinimumSize(220, 80);

    // The setup list sample: a small tree in the list's colours.
    listSample_ = new QTreeWidget(this);
    listSample_->setObjectName(QStringLiteral("listSample"));
    listSample_->setHeaderHidden(true);
    listSample_->setFocusPolicy(Qt::NoFocus);
    listSample_->setSelectionMode(QAbstractItemView::NoSelection);
    listSample_->setMinimumSize(220, 80);
    auto* top = new QTreeWidgetItem(listSample_, QStringList{QStringLiteral("Item One")});
    new QTreeWidgetItem(top, QStringList{QStringLiteral("Item One")});
    top->setExpanded(true);

    auto* layout = new QVBoxLayout(this);
    const struct {
        const char* title;
        QWidget* sample;
        int first; // index into kButtons
    } groups[] = {{"Change Monitor Log Window Text Colors", monitorSample_, 0},
                  {"Change Server Setup List Colors", listSample_, 2}};
    for (const auto& g : groups) {
        auto* box = new QGroupBox(QString::fromUtf8(g.title), this);
        auto* row = new QHBoxLayout(box);
        row->addWidget(g.sample, 1);
        auto* column = new QVBoxLayout;
        for (int i = g.first; i < g.first + 2; ++i) {
            const ColourButton& b = kButtons[i];
            auto* button = new QPushButton(QString::fromUtf8(b.text), box);
            button->setObjectName(QString::fromUtf8(b.name));
            button->setAutoDefault(false);
            column->addWidget(button);
            connect(button, &QPushButton::clicked, this,
                    gui::guarded([this, which = b.which](bool) { chooseColour(which); }));
        }
        column->addStretch();
        row->addLayout(column);
        layout->addWidget(box);
    }
    auto* restore = new QPushButton(QStringLiteral("Restore Default Colors"), this);
    restore->setObjectName(QStringLiteral("restoreDefaultColors"));
    restore->setAutoDefault(false);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(restore);
    layout->addLayout(bottom);
    layout->addStretch();
    connect(restore, &QPushButton::clicked, this, gui::guarded([this](bool) { restoreDefaultColours(); }));

    repaintSamples();
}

QPushButton* CPreferencesColorsPropertyPage::button(const char* objectName) const {
    return findChild<QPushButton*>(QString::fromUtf8(objectName));
}

QColor CPreferencesColorsPropertyPage::colour(Colour which) const {
    return colours_[indexOf(which)];
}

void CPreferencesColorsPropertyPage::store(core::ManagerSettings& settings) const {
    settings.textColor = gui::toColourRef(colour(Colour::MonitorText));
    settings.bgColor = gui::toColourRef(colour(Colour::MonitorBackground));
    settings.listTextColor = gui::toColourRef(colour(Colour::ListText));
    settings.listBgColor = gui::toColourRef(colour(Colour::ListBackground));
}

void CPreferencesColorsPropertyPage::chooseColour(Colour which) {
    for (const ColourButton& b : kButtons) {
        if (b.which != which)
            continue;
        const QColor chosen = prompter_.chooseColour(this, colour(which), QString::fromUtf8(b.caption));
        if (!chosen.isValid())
            return;
        colours_[indexOf(which)] = QColor(chosen.red(), chosen.green(), chosen.blue()); // no alpha in 0x00BBGGRR
        repaintSamples();
        return;
    }
}

void CPreferencesColorsPropertyPage::restoreDefaultColours() {
    core::ManagerSettings defaults;
    defaults.restoreDefaultColours();
    colours_[indexOf(Colour::MonitorText)] = gui::fromColourRef(defaults.textColor);
    colours_[indexOf(Colour::MonitorBackground)] = gui::fromColourRef(defaults.bgColor);
    colours_[indexOf(Colour::ListText)] = gui::fromColourRef(defaults.listTextColor);
    colours_[indexOf(Colour::ListBackground)] = gui::fromColourRef(defaults.listBgColor);
    repaintSamples();
}

void CPreferencesColorsPropertyPage::repaintSamples() {
    QPalette monitor = monitorSample_->palette();
    monitor.setColor(QPalette::Window, colour(Colour::MonitorBackground));
    monitor.setColor(QPalette::WindowText, colour(Colour::MonitorText));
    monitorSample_->setPalette(monitor);

    QPalette list = listSample_->palette();
    list.setColor(QPalette::Base, colour(Colour::ListBackground));
    list.setColor(QPalette::Window, colour(Colour::ListBackground));
    list.setColor(QPalette::Text, colour(Colour::ListText));
    listSample_->setPalette(list);
    // Items draw their text from the palette, so the sample follows every change.
    monitorSample_->update();
    listSample_->viewport()->update();
}

} // namespace kv::manager::ui
