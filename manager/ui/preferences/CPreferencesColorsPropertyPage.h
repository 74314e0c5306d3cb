#pragma once

#include "manager/ui/preferences/CPreferencesPage.h"

#include <QColor>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace kv::manager::ui {

// "Colors": the output monitor's text and background, and the main window's setup list text and background, each
// shown at once on a sample.
class CPreferencesColorsPropertyPage : public CPreferencesPage {
    Q_OBJECT
public:
    enum class Colour { MonitorText, MonitorBackground, ListText, ListBackground };

    CPreferencesColorsPropertyPage(const core::ManagerContext& context, gui::Prompter& prompter,
                                   gui::DesktopServices& desktop, QWidget* parent = nullptr);

    void store(core::ManagerSettings& settings) const override;

    // The buttons' actions: the colour chooser for one colour, and the four defaults.
    void chooseColour(Colour which);
    void restoreDefaultColours();

    QColor colour(Colour which) const;
    QLabel* monitorSample() const { return monitorSample_; }
    QTreeWidget* listSample() const { return listSample_; }
    QPushButton* button(const char* objectName) const;

private:
    void repaintSamples();

    QColor colours_[4];
    QLabel* monitorSample_ = nullptr;
    QTreeWidget* listSample_ = nullptr;
};

} // namespace kv::manager::ui
