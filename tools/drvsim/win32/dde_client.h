#pragma once
// The driver's side of the DDE exchange: conversations on "VELA40PSSRV" with an advise link on
// "Data" each, pokes of the settings message, and what the advise links deliver. Each advise
// link needs a DDEML instance of its own (one instance may hold one conversation per service
// and topic).
#include <cstdint>
#include <string>
#include <vector>

#include "tools/drvsim/win32/win32_common.h"

#include <ddeml.h>

namespace drvsim {

class DdeClient {
public:
    struct Link {
        DWORD instance = 0;
        HSZ service = nullptr;
        HSZ topic = nullptr;
        HSZ item = nullptr;     // "Data", the advise item
        HSZ pokeItem = nullptr; // the item pokes name
        HCONV conversation = nullptr;
        HWND window = nullptr; // this side's window of the conversation
        bool adviseStarted = false;
        bool answered = false;          // an advise transaction brought data
        std::vector<std::uint8_t> data; // what it brought
        bool emptyDataMessage = false;  // a data message without data arrived
        bool disconnected = false;      // the server ended the conversation
    };

    DdeClient();
    ~DdeClient();
    DdeClient(const DdeClient&) = delete;
    DdeClient& operator=(const DdeClient&) = delete;

    // Creates `links` instances with their names; false when DDEML refuses.
    bool Initialize(int links, const std::string& topic, const std::string& pokeItem);
    // One connection attempt of link `index`; true once it is connected.
    bool TryConnect(int index);
    // Starts the advise link of a connected link, with the format sign-extended as the driver
    // does.
    bool StartAdvise(int index);
    // A synchronous poke on link 0; true when the server acknowledged it.
    bool Poke(const std::vector<std::uint8_t>& bytes);
    void DisconnectAll();

    const std::vector<Link>& links() const { return links_; }
    bool AnyAnswer() const;
    // Every link has had its answer (data, or a data message without data) or was ended.
    bool AllSettled() const;
    // The window of the server's side of link 0's conversation.
    HWND ServerWindow() const;

private:
    static HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV conversation, HSZ hsz1,
                                      HSZ hsz2, HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);
    void OnMessage(const MSG& message);
    Link* Find(HCONV conversation);

    std::vector<Link> links_;
    UINT format_ = 0;
    static DdeClient* current_;
};

} // namespace drvsim
