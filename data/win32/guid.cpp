#include "data/win32/guid.h"

#include "data/item_model.h"

#include <objbase.h>

namespace tvx::win {

std::string NewGuidText() {
    static GuidTextSource source([](GuidBytes& out) {
        HRESULT init = CoInitialize(nullptr);
        GUID g;
        const bool made = SUCCEEDED(CoCreateGuid(&g));
        if (SUCCEEDED(init)) CoUninitialize();
        if (!made) return false;
        out.data1 = g.Data1;
        out.data2 = g.Data2;
        out.data3 = g.Data3;
        for (int i = 0; i < 8; ++i) out.data4[static_cast<size_t>(i)] = g.Data4[i];
        return true;
    });
    return source.NewGuidText();
}

}  // namespace tvx::win
