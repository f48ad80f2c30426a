#include "frmAbout.h"

#include "DialogSupport.h"
#include "MessageBox.h"

#include <QApplication>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#ifdef PATHLOOM_HAVE_RESOURCES
#include "Resources.h"
#endif

#if !defined(PATHLOOM_VERSION_MAJOR) || !defined(PATHLOOM_VERSION_MINOR) ||                        \
    !defined(PATHLOOM_VERSION_PATCH)
#error "The build passes the project version as PATHLOOM_VERSION_MAJOR, _MINOR and _PATCH"
#endif

namespace {

constexpr int IconSize = 32;

// Stands in when the build has no resources library: two nodes and a link, as on the canvas.
QPixmap DrawnIcon() {
    QPixmap pixmap(IconSize, IconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(9, 23, 23, 9);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(255, 255, 128));
    painter.drawEllipse(QRectF(1.5, 15.5, 15, 15));
    painter.setBrush(QColor(128, 200, 255));
    painter.drawEllipse(QRectF(15.5, 1.5, 15, 15));
    return pixmap;
}

QPixmap ApplicationIcon() {
#ifdef PATHLOOM_HAVE_RESOURCES
    const QIcon icon = Resources::AppIcon();
#else
    const QIcon icon = QApplication::windowIcon();
#endif
    if (icon.isNull())
        return DrawnIcon();
    return icon.pixmap(IconSize, IconSize);
}

} // namespace

QString frmAbout::VersionText() {
    return QString("Version %1.%2.%3")
        .arg(PATHLOOM_VERSION_MAJOR)
        .arg(PATHLOOM_VERSION_MINOR)
        .arg(PATHLOOM_VERSION_PATCH);
}

void frmAbout::ShowDialog(QWidget* owner) {
    QDialog window(owner);
    window.setObjectName("frmAbout");
    window.setWindowTitle(QString("About ") + Platform::AppTitle);

    auto* layout = new QGridLayout(&window);
    auto* picIcon = new QLabel(&window);
    picIcon->setObjectName("picIcon");
    picIcon->setPixmap(ApplicationIcon());
    picIcon->setFixedSize(IconSize, IconSize);
    picIcon->setAccessibleName("Application icon");
    auto* lblTitle = new QLabel(Platform::AppTitle, &window);
    lblTitle->setObjectName("lblTitle");
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    auto* lblVersion = new QLabel(VersionText(), &window);
    lblVersion->setObjectName("lblVersion");
    auto* lblDescription = new QLabel(
        "A workbench for learning automata on graphs, by the Pathloom project.", &window);
    lblDescription->setObjectName("lblDescription");
    auto* label1 =
        new QLabel("Questions and bug reports: the Pathloom project's issue tracker.", &window);
    label1->setObjectName("Label1");
    auto* cmdOK = new QPushButton("OK", &window);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    QObject::connect(cmdOK, &QPushButton::clicked, &window, &QDialog::accept);

    layout->addWidget(picIcon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(lblTitle, 0, 1);
    layout->addWidget(lblVersion, 1, 1);
    layout->addWidget(lblDescription, 2, 1);
    layout->setRowMinimumHeight(3, 12);
    layout->addWidget(label1, 4, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    layout->addLayout(buttons, 5, 0, 1, 2);
    layout->setHorizontalSpacing(16);
    DialogSupport::MakeFixedSize(&window);

    // Esc closes the box through QDialog's own cancel, which is all OK does too.
    window.exec();
}
