#include "cli/Warnings.h"

namespace kz::cli {

kz::MsgAnswer Warnings::Show(const kz::MessageRequest& request)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_last = request.text;
    return request.buttons == kz::MsgButtons::YesNo ? kz::MsgAnswer::No : kz::MsgAnswer::Ok;
}

QString Warnings::Last() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_last;
}

}  // namespace kz::cli
