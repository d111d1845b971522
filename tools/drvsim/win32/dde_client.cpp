#include "tools/drvsim/win32/dde_client.h"

#include <dde.h>

#include "app/driver_link.h"

namespace drvsim {

DdeClient* DdeClient::current_ = nullptr;

DdeClient::DdeClient() {
    current_ = this;
    // Wine's DDEML sends an advise link that gets no bytes a data message without data, which
    // never reaches the callback: the message itself tells.
    SetMessageHook([this](const MSG& message) { OnMessage(message); });
}

DdeClient::~DdeClient() {
    SetMessageHook(nullptr);
    DisconnectAll();
    for (Link& link : links_) {
        for (HSZ name : {link.service, link.topic, link.item, link.pokeItem}) {
            if (name)
                DdeFreeStringHandle(link.instance, name);
        }
        if (link.instance)
            DdeUninitialize(link.instance);
    }
    current_ = nullptr;
}

bool DdeClient::Initialize(int count, const std::string& topic, const std::string& pokeItem) {
    // Registered formats are 16-bit atoms; the driver passes them sign-extended.
    format_ = static_cast<UINT>(static_cast<short>(RegisterClipboardFormatA(app::kDdeFormatName)));
    for (int i = 0; i < count; ++i) {
        Link link;
        if (DdeInitializeA(&link.instance, Callback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
            return false;
        link.service = DdeCreateStringHandleA(link.instance, app::kDdeServiceName, CP_WINANSI);
        link.topic = DdeCreateStringHandleA(link.instance, topic.c_str(), CP_WINANSI);
        link.item = DdeCreateStringHandleA(link.instance, app::kDdeItemName, CP_WINANSI);
        link.pokeItem = DdeCreateStringHandleA(link.instance, pokeItem.c_str(), CP_WINANSI);
        links_.push_back(link);
        if (!link.service || !link.topic || !link.item || !link.pokeItem)
            return false;
    }
    return true;
}

bool DdeClient::TryConnect(int index) {
    Link& link = links_.at(static_cast<std::size_t>(index));
    if (link.conversation)
        return true;
    link.conversation = DdeConnect(link.instance, link.service, link.topic, nullptr);
    if (!link.conversation)
        return false;
    CONVINFO info{};
    info.cb = sizeof info;
    if (DdeQueryConvInfo(link.conversation, QID_SYNC, &info))
        link.window = info.hwnd;
    return true;
}

bool DdeClient::StartAdvise(int index) {
    Link& link = links_.at(static_cast<std::size_t>(index));
    DWORD result = 0;
    link.adviseStarted = DdeClientTransaction(nullptr, 0, link.conversation, link.item, format_,
                                              XTYP_ADVSTART, 5000, &result) != nullptr;
    return link.adviseStarted;
}

bool DdeClient::Poke(const std::vector<std::uint8_t>& bytes) {
    Link& link = links_.at(0);
    BYTE empty = 0;
    BYTE* data = bytes.empty() ? &empty : const_cast<BYTE*>(bytes.data());
    DWORD result = 0;
    const bool done =
        DdeClientTransaction(data, static_cast<DWORD>(bytes.size()), link.conversation,
                             link.pokeItem, format_, XTYP_POKE, 5000, &result) != nullptr;
    // The server's acknowledgement is in the status word: DDE_FACK, or not processed.
    return done && (result & DDE_FACK) != 0;
}

void DdeClient::DisconnectAll() {
    for (Link& link : links_) {
        if (link.conversation) {
            DdeDisconnect(link.conversation);
            link.conversation = nullptr;
        }
    }
}

bool DdeClient::AnyAnswer() const {
    for (const Link& link : links_) {
        if (link.answered)
            return true;
    }
    return false;
}

bool DdeClient::AllSettled() const {
    for (const Link& link : links_) {
        if (link.adviseStarted && !link.answered && !link.emptyDataMessage && !link.disconnected)
            return false;
    }
    return true;
}

HWND DdeClient::ServerWindow() const {
    if (links_.empty() || !links_[0].conversation)
        return nullptr;
    CONVINFO info{};
    info.cb = sizeof info;
    if (!DdeQueryConvInfo(links_[0].conversation, QID_SYNC, &info))
        return nullptr;
    return info.hwndPartner;
}

DdeClient::Link* DdeClient::Find(HCONV conversation) {
    for (Link& link : links_) {
        if (link.conversation == conversation && conversation != nullptr)
            return &link;
    }
    return nullptr;
}

void DdeClient::OnMessage(const MSG& message) {
    if (message.message != WM_DDE_DATA)
        return;
    UINT_PTR handle = 0;
    UINT_PTR atom = 0;
    if (!UnpackDDElParam(WM_DDE_DATA, message.lParam, &handle, &atom))
        return;
    if (handle != 0)
        return;
    for (Link& link : links_) {
        if (link.window == message.hwnd)
            link.emptyDataMessage = true;
    }
}

HDDEDATA CALLBACK DdeClient::Callback(UINT type, UINT, HCONV conversation, HSZ, HSZ, HDDEDATA data,
                                      ULONG_PTR, ULONG_PTR) {
    if (!current_)
        return nullptr;
    Link* link = current_->Find(conversation);
    switch (type) {
    case XTYP_ADVDATA: {
        if (!link)
            return reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
        const DWORD size = data ? DdeGetData(data, nullptr, 0, 0) : 0;
        link->data.assign(size, 0);
        if (size > 0)
            DdeGetData(data, link->data.data(), size, 0);
        link->answered = true;
        return reinterpret_cast<HDDEDATA>(DDE_FACK);
    }
    case XTYP_DISCONNECT:
        if (link)
            link->disconnected = true;
        return nullptr;
    default:
        return nullptr;
    }
}

} // namespace drvsim
