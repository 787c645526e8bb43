#pragma once

#include "core/text_fields.h"

#include <QMainWindow>
#include <string>

class QAction;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace qorin::ui {

class FieldNote;
class TavrinSurface;

// The main window. The user types a Polish word into `A`; every 200 ms `Timer1` runs one
// lookup pass, which reads `A` and writes the translation into `B`. `Command1` is the pass's
// button, kept hidden, so the timer is the only trigger. The start-up procedure creates the
// one instance, loads it and shows it.
class Tavrin : public QMainWindow, private TextFields
{
    Q_OBJECT

public:
    Tavrin();

    // Creates the controls from the design settings and starts the timer, without showing
    // anything. Showing the window loads it first.
    void load();

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createMenus();
    void showInputLimit();

    void Timer1_Timer();
    void Command1_Click();
    void mnuInfo_Click();
    void Exit_Click();
    void Form_Unload();

    // The lookup pass's view of the fields.
    std::u16string readInput() override;
    std::u16string readOutput() override;
    void writeOutput(std::u16string_view text) override;
    void showOutput();

    bool m_loaded = false;
    TavrinSurface* m_surface = nullptr;
    QLineEdit* A = nullptr;
    QPlainTextEdit* B = nullptr;
    QPushButton* Command1 = nullptr;
    QTimer* Timer1 = nullptr;
    FieldNote* m_inputLimitNote = nullptr;

    // What the pass last wrote to `B`, and what `B` shows. The widget is updated only when
    // they differ after a pass, so a selection in `B` survives passes that change nothing.
    std::u16string m_outputText;
    std::u16string m_shownText;
};

} // namespace qorin::ui
