#include "application.h"
#include "modul.h"
#include "window_system_choice.h"

int main(int argc, char* argv[])
{
    qorin::ui::preferX11OnWayland(argc, argv);
    qorin::ui::Application application(argc, argv);
    qorin::ui::Modul modul;
    return application.run([&modul] { modul.Main(); });
}
