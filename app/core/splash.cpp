#include "app/core/splash.h"

#include "platform/ui/do_events.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/twips.h"

#include <QApplication>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

namespace {

constexpr int kFormWidthTwips = 7200;
constexpr int kFormHeightTwips = 4200;
const QColor kLightGrey(0xC0, 0xC0, 0xC0);

QFont boldArial(double points)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

// The product picture: a blue band fading into the form's grey.
QPixmap productPicture(const QSize& size)
{
    QPixmap picture(size);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0.0, QColor(0x10, 0x30, 0x80));
    gradient.setColorAt(0.6, QColor(0x60, 0x80, 0xB0));
    gradient.setColorAt(1.0, kLightGrey);
    painter.fillRect(picture.rect(), gradient);
    return picture;
}

QLabel* makeLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    // Clicks on the picture and the texts fall through to the frame.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

} // namespace

void ClickableFrame::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

frmSplash::frmSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    const QSize size(ui::TwipsToPixels(kFormWidthTwips), ui::TwipsToPixels(kFormHeightTwips));
    setFixedSize(size);
    QPalette background = palette();
    background.setColor(QPalette::Window, kLightGrey);
    setPalette(background);
    setAutoFillBackground(true);

    Frame1 = new ClickableFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(0, 0, size.width(), size.height());

    Image1 = makeLabel(Frame1, "Image1");
    Image1->setGeometry(0, 0, size.width(), size.height() * 2 / 3);
    Image1->setPixmap(productPicture(Image1->size()));

    Label3 = makeLabel(Frame1, "Label3");
    Label3->setFont(boldArial(14.25));
    Label3->setText(QStringLiteral("Tarvex"));
    Label3->setGeometry(ui::TwipsToPixels(600), size.height() * 2 / 3 + ui::TwipsToPixels(120),
                        ui::TwipsToPixels(3000), ui::TwipsToPixels(420));

    Label1 = makeLabel(Frame1, "Label1");
    Label1->setFont(boldArial(11.25));
    Label1->setText(QStringLiteral(" Version 2.0.2"));
    Label1->setGeometry(ui::TwipsToPixels(600), Label3->geometry().bottom() + ui::TwipsToPixels(60),
                        ui::TwipsToPixels(3000), ui::TwipsToPixels(360));

    connect(Frame1, &ClickableFrame::clicked, QCoreApplication::instance(), &frmSplash::Frame1_Click,
            Qt::QueuedConnection);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Form_Load();
}

void frmSplash::Form_Load()
{
    Label3->resize(ui::TwipsToPixels(5000), Label3->height());
    Label3->setText(QStringLiteral("Tarvex for Sharepoint"));
}

void frmSplash::Frame1_Click()
{
    ui::FormInstance<frmSplash>::unload();
    ui::DoEvents();
}
