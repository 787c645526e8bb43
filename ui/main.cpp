#include "ui/modul.h"
#include "ui/platform/accessibility.h"
#include "ui/platform/application.h"
#include "ui/platform/window_system_choice.h"

int main(int argc, char* argv[])
{
    qorin::ui::preferX11OnWayland(argc, argv);
    qorin::ui::Application application(argc, argv);
    qorin::ui::installAccessibility();
    qorin::ui::Modul modul;
    return application.run([&modul] { modul.Main(); });
}
