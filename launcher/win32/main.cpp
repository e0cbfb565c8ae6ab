#include "launcher/win32/application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    tvx::win::Application app(instance);
    return app.Run();
}
