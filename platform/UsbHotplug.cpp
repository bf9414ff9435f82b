#include "platform/UsbHotplug.h"

#include <QFileInfo>
#include <QSocketNotifier>

#include <libudev.h>

namespace kz {

namespace {

const QString kUsbDeviceClass = QStringLiteral("{a5dcbf10-6530-11d2-901f-00c04fb951ed}");

// "18d1" -> "18D1", "4e2" -> "04E2"; anything but one to four hex digits -> "".
QString HexId(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 4)
        return {};
    for (QChar c : t)
        if (!QStringLiteral("0123456789abcdefABCDEF").contains(c))
            return {};
    return t.toUpper().rightJustified(4, u'0');
}

// The kernel's PRODUCT=vendor/product/bcdDevice survives removal, when the
// sysfs attributes are gone.
QString ProductField(const UsbUevent& event, int index)
{
    const QStringList parts = event.properties.value(QStringLiteral("PRODUCT")).split(u'/');
    return parts.size() >= 2 ? parts.value(index) : QString();
}

QString FirstHexId(std::initializer_list<QString> candidates)
{
    for (const QString& c : candidates)
        if (const QString id = HexId(c); !id.isEmpty())
            return id;
    return {};
}

// '#' separates the parts of the name; keep the instance to plain characters.
QString InstancePart(const QString& text)
{
    QString out;
    for (QChar c : text)
        out += (c.unicode() < 128 && (c.isLetterOrNumber() || QStringLiteral("-._&:").contains(c))) ? c : QChar(u'_');
    return out;
}

}  // namespace

int UsbEventCode(const QString& action)
{
    if (action == u"add")
        return kDeviceArrival;
    if (action == u"remove")
        return kDeviceRemoval;
    return 0;
}

QString UsbDeviceInterfaceName(const UsbUevent& event)
{
    const QString prefix = QStringLiteral("\\\\?\\USB#");
    const QString suffix = u'#' + kUsbDeviceClass;
    if (event.devtype != u"usb_device")
        return prefix + InstancePart(event.sysname) + suffix;
    const QString vid = FirstHexId({event.properties.value(QStringLiteral("ID_VENDOR_ID")), ProductField(event, 0),
                                    event.sysVendor});
    const QString pid = FirstHexId({event.properties.value(QStringLiteral("ID_MODEL_ID")), ProductField(event, 1),
                                    event.sysProduct});
    if (vid.isEmpty() || pid.isEmpty())
        return prefix + InstancePart(event.sysname) + suffix;
    QString serial = event.properties.value(QStringLiteral("ID_SERIAL_SHORT"));
    if (serial.isEmpty())
        serial = event.sysSerial;
    if (serial.isEmpty())
        serial = event.sysname;
    return prefix + QStringLiteral("VID_%1&PID_%2#").arg(vid, pid) + InstancePart(serial) + suffix;
}

UsbHotplug::UsbHotplug(QObject* parent) : QObject(parent) {}

UsbHotplug::~UsbHotplug() { Stop(); }

bool UsbHotplug::Start()
{
    Stop();
    m_udev = udev_new();
    if (!m_udev)
        return false;
    // Without a udev daemon (containers) its channel stays silent; the
    // kernel's own events then still tell arrivals and removals.
    const char* source = QFileInfo::exists(QStringLiteral("/run/udev/control")) ? "udev" : "kernel";
    m_monitor = udev_monitor_new_from_netlink(m_udev, source);
    if (!m_monitor || udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "usb", nullptr) < 0 ||
        udev_monitor_enable_receiving(m_monitor) < 0 || udev_monitor_get_fd(m_monitor) < 0) {
        Stop();
        return false;
    }
    m_notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UsbHotplug::OnReadable);
    return true;
}

void UsbHotplug::Stop()
{
    // Stop may be reached from a slot of our own signal, inside the
    // notifier's activation: let the event loop delete it.
    if (m_notifier) {
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
    }
    m_notifier = nullptr;
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    m_monitor = nullptr;
    if (m_udev)
        udev_unref(m_udev);
    m_udev = nullptr;
}

namespace {

QString Text(const char* value) { return value ? QString::fromUtf8(value) : QString(); }

UsbUevent ReadEvent(udev_device* device)
{
    UsbUevent event;
    event.action = Text(udev_device_get_action(device));
    event.devtype = Text(udev_device_get_devtype(device));
    event.sysname = Text(udev_device_get_sysname(device));
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_device_get_properties_list_entry(device))
        event.properties.insert(Text(udev_list_entry_get_name(entry)), Text(udev_list_entry_get_value(entry)));
    if (event.action != u"remove") {
        event.sysVendor = Text(udev_device_get_sysattr_value(device, "idVendor"));
        event.sysProduct = Text(udev_device_get_sysattr_value(device, "idProduct"));
        event.sysSerial = Text(udev_device_get_sysattr_value(device, "serial"));
    }
    return event;
}

}  // namespace

void UsbHotplug::OnReadable()
{
    // The socket is non-blocking: take every queued event.
    while (m_monitor) {
        udev_device* device = udev_monitor_receive_device(m_monitor);
        if (!device)
            break;
        const UsbUevent event = ReadEvent(device);
        udev_device_unref(device);
        Dispatch(event);
    }
}

void UsbHotplug::Dispatch(const UsbUevent& event)
{
    if (const int code = UsbEventCode(event.action))
        emit deviceChanged(code, UsbDeviceInterfaceName(event));
}

}  // namespace kz
