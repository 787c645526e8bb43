#pragma once

#include <QMainWindow>
#include <memory>

class QAction;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace qorin::ui {

class FieldNote;
class LookupFields;
class TavrinSurface;

// The main window. The user types a Polish word into `A`; every 200 ms `Timer1` runs one
// lookup pass, which reads `A` and writes the translation into `B` (through `LookupFields`).
// `Command1` is the pass's button, kept hidden, so the timer is the only trigger. The start-up
// procedure creates the one instance, loads it and shows it.
class Tavrin : public QMainWindow
{
    Q_OBJECT

public:
    Tavrin();
    ~Tavrin() override;

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

    bool m_loaded = false;
    TavrinSurface* m_surface = nullptr;
    QLineEdit* A = nullptr;
    QPlainTextEdit* B = nullptr;
    QPushButton* Command1 = nullptr;
    QTimer* Timer1 = nullptr;
    FieldNote* m_inputLimitNote = nullptr;
    std::unique_ptr<LookupFields> m_lookupFields; // the lookup pass's view of `A` and `B`
};

} // namespace qorin::ui
