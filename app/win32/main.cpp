#include "app/win32/application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    tvx::win::Application app;
    return app.Run();
}
