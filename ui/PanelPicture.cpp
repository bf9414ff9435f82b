#include "ui/PanelPicture.h"

#include <QEvent>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <cmath>

namespace kz::ui {

namespace {

class PanelPicturePainter : public QObject {
public:
    PanelPicturePainter(QWidget* panel, const QString& path) : QObject(panel), m_path(path)
    {
        setObjectName(QStringLiteral("kzPanelPicture"));
        m_size = QImage(path).size();
        panel->installEventFilter(this);
        panel->update();
    }

protected:
    // Runs before the panel's own paint event, after its background.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            Paint(static_cast<QWidget*>(watched));
        return false;
    }

private:
    void Paint(QWidget* panel)
    {
        if (m_size.isEmpty())  // no picture there: nothing to draw, nothing to retry
            return;
        const qreal ratio = panel->devicePixelRatioF();
        if (m_pixmap.isNull() || m_pixmap.devicePixelRatio() != ratio)
            m_pixmap = Scaled(ratio);
        if (m_pixmap.isNull())
            return;
        // Inside the panel's border, on a whole screen pixel, so that no
        // resampling blurs it again.
        const QRect inside = panel->contentsRect();
        const qreal x = std::floor((inside.left() + (inside.width() - m_size.width()) / 2) * ratio) / ratio;
        const qreal y = std::ceil(inside.top() * ratio) / ratio;
        QPainter painter(panel);
        // A border at 150% covers part of a screen pixel, which the clip
        // would not leave it; the picture's edges are the panel's own colour.
        painter.setClipRect(inside.adjusted(1, 0, -1, -1));
        painter.drawPixmap(QPointF(x, y), m_pixmap);
    }

    QPixmap Scaled(qreal ratio) const
    {
        QString source = m_path;
        const QString twin = QFileInfo(m_path).path() + u'/' + QFileInfo(m_path).completeBaseName() + "@2x." +
                             QFileInfo(m_path).suffix();
        if (ratio > 1 && QFileInfo::exists(twin))
            source = twin;
        const QSize pixels(qRound(m_size.width() * ratio), qRound(m_size.height() * ratio));
        QPixmap pixmap = QPixmap::fromImage(QImage(source).scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        pixmap.setDevicePixelRatio(ratio);
        return pixmap;
    }

    QString m_path;
    QSize m_size;  // in the window's units: the 1x picture's pixels
    QPixmap m_pixmap;
};

}  // namespace

void ShowPanelPicture(QWidget* panel, const QString& path)
{
    if (!panel)
        return;
    delete panel->findChild<PanelPicturePainter*>(QStringLiteral("kzPanelPicture"), Qt::FindDirectChildrenOnly);
    new PanelPicturePainter(panel, path);
}

}  // namespace kz::ui
