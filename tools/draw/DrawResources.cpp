// Draws every image of Pathloom's resource file: the toolbar buttons, the run-control buttons,
// the three editing cursors and the application icon. The images are checked in; run this again
// (target draw-resources) after changing a drawing here.

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>
#include <cstdio>
#include <functional>

namespace {

const QColor NodeFill(255, 255, 150);
const QColor LinkRed(200, 0, 0);
const QColor RunGreen(0, 150, 40);
const QColor Outline(0, 0, 0);

QImage Blank(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void Save(const QImage& image, const QString& dir, const QString& name) {
    const QString path = dir + "/" + name;
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

QImage Draw(int size, const std::function<void(QPainter&)>& paint, bool antialias = true) {
    QImage image = Blank(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, antialias);
    paint(p);
    return image;
}

void Node(QPainter& p, QPointF centre, qreal radius, const QColor& fill = NodeFill) {
    p.setPen(QPen(Outline, 1.0));
    p.setBrush(fill);
    p.drawEllipse(centre, radius, radius);
}

// A filled arrowhead whose tip is at `tip`, pointing away from `from`.
void ArrowHead(QPainter& p, QPointF from, QPointF tip, qreal length, qreal halfWidth,
               const QColor& colour) {
    const QLineF line(tip, from);
    const QPointF unit = (from - tip) / line.length();
    const QPointF normal(-unit.y(), unit.x());
    const QPointF base = tip + unit * length;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF{tip, base + normal * halfWidth, base - normal * halfWidth});
}

// The three link buttons share one picture: two nodes joined by a line with 0, 1 or 2 heads.
QImage LinkButton(int heads) {
    return Draw(24, [heads](QPainter& p) {
        const QPointF a(4, 20), b(20, 4);
        const QPointF rimA(6.2, 17.8), rimB(17.8, 6.2);
        p.setPen(QPen(Outline, 1.3));
        p.drawLine(rimA, rimB);
        if (heads >= 1)
            ArrowHead(p, rimA, rimB, 5.5, 3.2, Outline);
        if (heads >= 2)
            ArrowHead(p, rimB, rimA, 5.5, 3.2, Outline);
        Node(p, a, 3.0);
        Node(p, b, 3.0);
    });
}

QImage PointerButton() {
    return Draw(24, [](QPainter& p) {
        const QPolygonF arrow{{7, 3},     {7, 19},    {10.5, 15.5}, {13, 21},
                              {15.5, 20}, {13, 14.5}, {18, 14.5}};
        p.setPen(QPen(Outline, 1.0));
        p.setBrush(Qt::white);
        p.drawPolygon(arrow);
    });
}

QImage AddNodeButton() {
    return Draw(24, [](QPainter& p) {
        Node(p, QPointF(10.5, 10.5), 7.5);
        p.setPen(QPen(RunGreen, 2.5, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(18.5, 13), QPointF(18.5, 23));
        p.drawLine(QPointF(13.5, 18), QPointF(23.5, 18));
    });
}

QImage DeleteButton() {
    return Draw(24, [](QPainter& p) {
        p.setPen(QPen(LinkRed, 3.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 6), QPointF(18, 18));
        p.drawLine(QPointF(18, 6), QPointF(6, 18));
    });
}

QImage StartButton() {
    return Draw(24, [](QPainter& p) {
        p.setPen(QPen(RunGreen.darker(140), 1.0));
        p.setBrush(RunGreen);
        p.drawPolygon(QPolygonF{{7, 4}, {20, 12}, {7, 20}});
    });
}

QImage ResetButton() {
    return Draw(24, [](QPainter& p) {
        const QColor blue(40, 80, 200);
        const QRectF circle(5, 5, 14, 14);
        p.setPen(QPen(blue, 2.2, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        // Open at the top right, where the head sits, so the arc reads as "back to the start".
        p.drawArc(circle, 70 * 16, 290 * 16);
        const qreal angle = qDegreesToRadians(70.0);
        const QPointF end(12 + 7 * qCos(angle), 12 - 7 * qSin(angle));
        ArrowHead(p, end + QPointF(-4, -1.2), end + QPointF(1.8, 0.6), 5.5, 3.5, blue);
    });
}

QImage ForwardButton() {
    return Draw(16, [](QPainter& p) {
        p.setPen(QPen(RunGreen.darker(140), 1.0));
        p.setBrush(RunGreen);
        p.drawPolygon(QPolygonF{{3, 2.5}, {11, 8}, {3, 13.5}});
        p.drawRect(QRectF(11.5, 2.5, 2, 11));
    });
}

QImage StopButton() {
    return Draw(16, [](QPainter& p) {
        p.setPen(QPen(LinkRed.darker(140), 1.0));
        p.setBrush(LinkRed);
        p.drawRect(QRectF(3.5, 3.5, 9, 9));
    });
}

// Cursors are drawn pixel-exact (no antialiasing): a white rim around black strokes keeps them
// visible on the white canvas and on black links alike.
void CrossAt(QPainter& p, int cx, int cy, int arm) {
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(cx - arm - 1, cy - 1, 2 * arm + 2, 2);
    p.drawRect(cx - 1, cy - arm - 1, 2, 2 * arm + 2);
    p.setPen(QPen(Outline, 1));
    p.drawLine(cx - arm, cy, cx + arm, cy);
    p.drawLine(cx, cy - arm, cx, cy + arm);
}

QImage ArrowCursor() {
    return Draw(
        32,
        [](QPainter& p) {
            // Tip at the hot spot (8, 8).
            const QPolygon arrow{{8, 8}, {8, 24}, {12, 20}, {15, 27}, {18, 26}, {15, 19}, {20, 19}};
            p.setPen(QPen(Outline, 1));
            p.setBrush(Qt::white);
            p.drawPolygon(arrow);
        },
        false);
}

QImage CrossCursor() {
    return Draw(
        32, [](QPainter& p) { CrossAt(p, 16, 16, 9); }, false);
}

QImage LinkCursor() {
    return Draw(
        32,
        [](QPainter& p) {
            CrossAt(p, 16, 16, 9);
            // The dotted tail: every other pixel of the diagonal towards the small cross.
            for (int i = 3; i <= 9; i += 2) {
                p.setPen(QPen(Qt::white, 1));
                p.drawRect(16 + i - 1, 16 + i - 1, 2, 2);
                p.setPen(QPen(Outline, 1));
                p.drawPoint(16 + i, 16 + i);
            }
            CrossAt(p, 27, 27, 3);
        },
        false);
}

QImage AppIcon(int size) {
    return Draw(size, [size](QPainter& p) {
        p.scale(size / 64.0, size / 64.0);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(70, 110, 190));
        p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
        const QPointF a(17, 45), b(47, 45), c(32, 18);
        p.setPen(QPen(Qt::white, 3.0));
        p.drawLine(a, b);
        p.drawLine(a, c);
        p.setPen(QPen(QColor(230, 30, 30), 3.5));
        p.drawLine(c, b);
        ArrowHead(p, c, b + (c - b) / QLineF(c, b).length() * 9.5, 9, 5, QColor(230, 30, 30));
        Node(p, a, 9);
        Node(p, b, 9);
        Node(p, c, 9, QColor(150, 255, 225));
    });
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", qPrintable(args.value(0)));
        return 2;
    }
    const QString dir = args[1];
    QDir().mkpath(dir);

    Save(PointerButton(), dir, "pointer.png");
    Save(AddNodeButton(), dir, "addnode.png");
    Save(DeleteButton(), dir, "delete.png");
    Save(LinkButton(0), dir, "simplelink.png");
    Save(LinkButton(1), dir, "unidirectionallink.png");
    Save(LinkButton(2), dir, "bidirectionallink.png");
    Save(StartButton(), dir, "start.png");
    Save(ResetButton(), dir, "reset.png");
    Save(ForwardButton(), dir, "forward.png");
    Save(StopButton(), dir, "stop.png");
    Save(ArrowCursor(), dir, "cursor-101.png");
    Save(CrossCursor(), dir, "cursor-102.png");
    Save(LinkCursor(), dir, "cursor-103.png");
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        Save(AppIcon(size), dir, QString("pathloom-%1.png").arg(size));
    return 0;
}
