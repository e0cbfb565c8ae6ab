// Real key presses for the test tools: the held keys go down, the key is
// pressed and released, the held keys come up again, all in one SendInput.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <vector>

inline void SendKeys(std::initializer_list<WORD> held, WORD key) {
    std::vector<INPUT> in;
    auto push = [&](WORD k, DWORD flags) {
        INPUT i = {};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        i.ki.wScan = static_cast<WORD>(MapVirtualKeyA(k, 0));
        i.ki.dwFlags = flags;
        in.push_back(i);
    };
    for (WORD k : held) push(k, 0);
    push(key, 0);
    push(key, KEYEVENTF_KEYUP);
    for (auto it = held.end(); it != held.begin();) push(*--it, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}
