#include "Resources.h"

#include <QPixmap>

// The resource file is compiled into this static library; naming its initialiser here makes the
// linker keep it for every program that uses these functions.
static void InitPathloomResources() {
    Q_INIT_RESOURCE(pathloom);
}

namespace Resources {

namespace {

QString ImagePath(const QString& name) {
    static const bool initialised = [] {
        InitPathloomResources();
        return true;
    }();
    (void)initialised;
    return ":/pathloom/images/" + name;
}

QIcon IconFor(const QString& key, const QStringList& keys) {
    if (!keys.contains(key))
        return QIcon();
    return QIcon(ImagePath(key.toLower() + ".png"));
}

} // namespace

QIcon StdToolbarIcon(const QString& key) {
    return IconFor(key, {"Pointer", "AddNode", "Delete", "SimpleLink", "UnidirectionalLink",
                         "BidirectionalLink", "Start", "Reset"});
}

QIcon ControlToolbarIcon(const QString& key) {
    return IconFor(key, {"Forward", "Stop"});
}

QPoint CursorHotSpot(int id) {
    return id == AddNodeCursor || id == LinkCursor ? QPoint(16, 16) : QPoint(8, 8);
}

QCursor ToolCursor(int id) {
    if (id != AddNodeCursor && id != LinkCursor)
        id = PointerCursor;
    const QPoint hot = CursorHotSpot(id);
    return QCursor(QPixmap(ImagePath(QString("cursor-%1.png").arg(id))), hot.x(), hot.y());
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(ImagePath(QString("pathloom-%1.png").arg(size)), QSize(size, size));
    return icon;
}

} // namespace Resources
