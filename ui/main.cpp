#include "application.h"
#include "modul.h"

int main(int argc, char* argv[])
{
    qorin::ui::Application application(argc, argv);
    qorin::ui::Modul modul;
    return application.run([&modul] { modul.Main(); });
}
