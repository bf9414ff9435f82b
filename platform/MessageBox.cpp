#include "platform/MessageBox.h"

#include <atomic>
#include <cstdio>

namespace kz {

namespace {
std::atomic<IMessageService*> g_service{nullptr};
}

IMessageService* SetMessageService(IMessageService* service)
{
    return g_service.exchange(service);
}

MsgAnswer ShowMessageBox(const MessageRequest& request)
{
    if (IMessageService* service = g_service.load())
        return service->Show(request);
    std::fprintf(stderr, "[%s] %s\n", qUtf8Printable(request.caption), qUtf8Printable(request.text));
    return request.buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
}

}  // namespace kz
