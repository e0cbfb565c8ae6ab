// libFuzzer target: any bytes as the values of the add-item mailbox. The
// Description's escape comes back exactly, values are cut to their buffers
// without splitting a double-byte character, single-line values hold no
// line break, and the item built from them is always storable.
#include "data/ansi_text.h"
#include "data/ini_text.h"
#include "data/item_file.h"
#include "data/mailbox.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    using namespace tvx;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (UnescapeMailboxText(EscapeMailboxText(bytes)) != bytes) std::abort();
    if (EscapeMailboxText(bytes).find_first_of("\r\n") != std::string::npos) std::abort();
    UnescapeMailboxText(bytes);  // anything at all the file may hold
    // The mailbox file as the receiver reads it: any bytes at all, and a
    // value set into it comes back as a reader gets it.
    IniValue(bytes, "sdfggsadf", "Name");
    if (SingleLine(bytes) == bytes &&
        IniValue(WithIniValue("[sdfggsadf]\r\nName=x\r\n", "sdfggsadf", "Name", bytes), "sdfggsadf", "Name") !=
            ValueAsRead(bytes))
        std::abort();
    const std::string line = SingleLine(bytes);
    if (line.find_first_of("\r\n") != std::string::npos) std::abort();
    for (size_t buffer : {kMailboxNameBuffer, kMailboxHotkeyBuffer, kMailboxNodeIdBuffer, size_t{1}, size_t{2}}) {
        const std::string cut = CutToBuffer(bytes, buffer);
        if (cut.size() >= buffer && !(buffer == 0)) std::abort();
        if (bytes.substr(0, cut.size()) != cut) std::abort();
        if (CutAtCharacterBoundary(cut, cut.size()).size() != cut.size()) std::abort();
    }
    // The received fields: split the bytes into seven values at NUL bytes.
    MailboxFields sent;
    std::string* fields[] = {&sent.Name, &sent.ShortName, &sent.Hotkey1, &sent.Hotkey2,
                             &sent.Description, &sent.ExePath, &sent.NodeID};
    size_t at = 0;
    for (std::string* field : fields) {
        const size_t end = std::min(bytes.find('\0', at), bytes.size());
        if (at <= bytes.size()) field->assign(bytes.substr(at, end - at));
        at = end + 1;
    }
    const MailboxFields received = CutToReceiverBuffers(sent);
    if (auto item = ItemFromMailbox(received, "GUID")) {
        // The entry carries every received field as it came, and the item
        // file gives each back as it was written.
        const std::string_view fieldsIn[] = {received.Name, received.ShortName, received.Hotkey1,
                                             received.Hotkey2, received.Description, received.ExePath};
        const FieldText* fieldsOut[] = {&item->Name, &item->ShortName, &item->Hotkey1,
                                        &item->Hotkey2, &item->Description, &item->ExePath};
        for (size_t i = 0; i < 6; ++i)
            if (fieldsOut[i]->view() != fieldsIn[i]) std::abort();
        if (item->ItemGuid.view() != "GUID" || item->Status.view() != "0") std::abort();
        bool whole = false;
        ItemStore store;
        store.Append(*item);
        const ItemStore back = DecodeItemFile(EncodeItemFile(store), &whole);
        if (!whole || back.size() != 1 || !(back[0] == *item)) std::abort();
    } else if (!received.Name.empty()) {
        std::abort();  // only an empty Name is refused
    }
    return 0;
}
