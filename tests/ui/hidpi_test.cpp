#include "qorin_ui_test.h"
#include "ui/frm_splash.h"
#include "ui/hidpi_picture.h"
#include "ui/logo.h"
#include "ui/shared_form.h"
#include "ui/tavrin.h"
#include "ui/tavrin_surface.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <memory>

using qorin::ui::frmSplash;
using qorin::ui::HiDpiPicture;
using qorin::ui::Logo;
using qorin::ui::PictureForm;
using qorin::ui::SharedForm;
using qorin::ui::Tavrin;
using qorin::ui::TavrinSurface;
using qorin::ui::test::LoadedTavrin;

// Runs with QT_SCALE_FACTOR=2: two device pixels to each logical pixel, as on a dense screen.

namespace {

constexpr int kRatio = 2;

QImage deviceImage(QWidget& widget)
{
    QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(1.0); // pixel coordinates from here on
    return image;
}

QImage picture(const QString& name)
{
    QImage image = QImage(name).convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(1.0);
    return image;
}

QRect device(const QRect& logical)
{
    return {logical.topLeft() * kRatio, logical.size() * kRatio};
}

// The share of the area's pixels that come from `source` stretched over `stretchedOver`: a
// pixel counts when the source pixel at its place, or one next to it, has exactly its colour.
double shareDrawnFrom(const QImage& shown, const QRect& area, const QImage& source,
                      const QRect& stretchedOver)
{
    const double sx = double(source.width()) / stretchedOver.width();
    const double sy = double(source.height()) / stretchedOver.height();
    int matching = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const int cx = int((x - stretchedOver.left() + 0.5) * sx);
            const int cy = int((y - stretchedOver.top() + 0.5) * sy);
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx)
                    found = source.valid(cx + dx, cy + dy) &&
                            source.pixel(cx + dx, cy + dy) == shown.pixel(x, y);
            matching += found;
        }
    }
    return double(matching) / (area.width() * area.height());
}

} // namespace

class HiDpiTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void pictureForEachRatio_data();
    void pictureForEachRatio();
    void mainWindowKeepsItsLogicalGeometry();
    void pictureWindowsKeepTheirLogicalGeometry_data();
    void pictureWindowsKeepTheirLogicalGeometry();
    void pictureWindowsShowTheDoubleResolutionPicture_data();
    void pictureWindowsShowTheDoubleResolutionPicture();
    void backgroundIsDrawnFromTheDoubleResolutionPicture();
    void labelsAreDrawnAtTheDeviceResolution();
};

void HiDpiTest::initTestCase()
{
    QCOMPARE(qApp->devicePixelRatio(), qreal(kRatio));
    for (const QString name : {"background", "about", "splash"}) {
        const QImage normal(":/assets/" + name + ".jpg");
        const QImage twice(":/assets/" + name + "@2x.jpg");
        QVERIFY2(!twice.isNull(), qPrintable(name));
        QCOMPARE(twice.size(), normal.size() * 2);
    }
}

void HiDpiTest::cleanup()
{
    SharedForm<frmSplash>::unload();
    SharedForm<Logo>::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void HiDpiTest::pictureForEachRatio_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<qreal>("pictureRatio");
    const QSize normal(484, 295);
    QTest::newRow("ratio 1") << ":/assets/background.jpg" << 1.0 << normal << 1.0;
    QTest::newRow("ratio 1.25") << ":/assets/background.jpg" << 1.25 << normal * 2 << 2.0;
    QTest::newRow("ratio 2") << ":/assets/background.jpg" << 2.0 << normal * 2 << 2.0;
    QTest::newRow("ratio 3") << ":/assets/background.jpg" << 3.0 << normal * 2 << 2.0;
    QTest::newRow("no @2x image") << ":/assets/qorin.ico" << 2.0 << QSize(32, 32) << 1.0;
}

// Whatever the ratio, the picture's logical size stays the same.
void HiDpiTest::pictureForEachRatio()
{
    QFETCH(QString, path);
    QFETCH(qreal, ratio);
    QFETCH(QSize, pixels);
    QFETCH(qreal, pictureRatio);
    const HiDpiPicture picture(path);
    const QPixmap& chosen = picture.forRatio(ratio);
    QCOMPARE(chosen.size(), pixels);
    QCOMPARE(chosen.devicePixelRatio(), pictureRatio);
    QCOMPARE(chosen.deviceIndependentSize(), picture.forRatio(1.0).deviceIndependentSize());
}

void HiDpiTest::mainWindowKeepsItsLogicalGeometry()
{
    LoadedTavrin w;
    QCOMPARE(w.tavrin->devicePixelRatio(), qreal(kRatio));
    QCOMPARE(w.tavrin->centralWidget()->size(), QSize(474, 292));
    QCOMPARE(w.tavrin->findChild<QLineEdit*>("A")->geometry(), QRect(48, 48, 377, 25));
    QCOMPARE(w.tavrin->findChild<QPlainTextEdit*>("B")->geometry(), QRect(48, 120, 377, 113));
    QCOMPARE(w.tavrin->findChild<TavrinSurface*>()->items().front().geometry,
             QRect(8, 0, 460, 285));
}

void HiDpiTest::pictureWindowsKeepTheirLogicalGeometry_data()
{
    QTest::addColumn<bool>("about");
    QTest::addColumn<QSize>("client");
    QTest::newRow("About window") << true << QSize(278, 210);
    QTest::newRow("splash window") << false << QSize(360, 239);
}

void HiDpiTest::pictureWindowsKeepTheirLogicalGeometry()
{
    QFETCH(bool, about);
    QFETCH(QSize, client);
    PictureForm& form = about ? static_cast<PictureForm&>(SharedForm<frmSplash>::instance())
                              : SharedForm<Logo>::instance();
    form.show();
    QCOMPARE(form.devicePixelRatio(), qreal(kRatio));
    QCOMPARE(form.clientRect().size(), client);
    QCOMPARE(form.size(), client + QSize(2, 2));
    if (about)
        QCOMPARE(form.mapToGlobal(form.clientRect().topLeft()), QPoint(302, 303));
}

void HiDpiTest::pictureWindowsShowTheDoubleResolutionPicture_data()
{
    QTest::addColumn<bool>("about");
    QTest::addColumn<QString>("picture");
    QTest::newRow("About window") << true << "about";
    QTest::newRow("splash window") << false << "splash";
}

// The picture is drawn unscaled: at two device pixels to the logical pixel, each device pixel
// of the client area is the pixel of the double-resolution picture at the same place.
void HiDpiTest::pictureWindowsShowTheDoubleResolutionPicture()
{
    QFETCH(bool, about);
    QFETCH(QString, picture);
    PictureForm& form = about ? static_cast<PictureForm&>(SharedForm<frmSplash>::instance())
                              : SharedForm<Logo>::instance();
    form.show();
    const QImage shown = deviceImage(form);
    QCOMPARE(shown.size(), form.size() * kRatio);

    const QRect client = device(form.clientRect());
    const QImage twice = ::picture(":/assets/" + picture + "@2x.jpg");
    const QImage expected = twice.copy(QRect(QPoint(), client.size()));
    QCOMPARE(shown.copy(client), expected);

    // The picture of normal resolution, enlarged, would look different: the comparison above
    // tells the two apart.
    const QImage enlarged = ::picture(":/assets/" + picture + ".jpg").scaled(twice.size());
    QVERIFY(enlarged.copy(QRect(QPoint(), client.size())) != expected);
}

// The background picture is stretched to `Image1`'s rectangle, from the double-resolution
// image. Checked where nothing lies over it: above, between and below the fields. (Drawn from
// the other image, about half the pixels would match by chance: the texture is soft.)
void HiDpiTest::backgroundIsDrawnFromTheDoubleResolutionPicture()
{
    LoadedTavrin w;
    auto* surface = w.tavrin->findChild<TavrinSurface*>();
    const QImage shown = deviceImage(*surface);
    QCOMPARE(shown.size(), QSize(474, 292) * kRatio);

    const QRect image1 = device(surface->items().front().geometry);
    const QImage twice = picture(":/assets/background@2x.jpg");
    const QImage normal = picture(":/assets/background.jpg");
    for (const QRect area :
         {QRect(12, 4, 440, 40), QRect(12, 92, 300, 24), QRect(12, 252, 440, 28)}) {
        const double fromTwice = shareDrawnFrom(shown, device(area), twice, image1);
        const double fromNormal = shareDrawnFrom(shown, device(area), normal, image1);
        QVERIFY2(fromTwice > 0.99,
                 qPrintable(QString("%1 of the pixels from the @2x picture, %2 from the other")
                                .arg(fromTwice)
                                .arg(fromNormal)));
    }
}

// Lettering drawn on the surface is rasterised at the device's resolution, not drawn at the
// logical resolution and enlarged: within the badges' labels, many two-by-two blocks of
// device pixels are not of one colour.
void HiDpiTest::labelsAreDrawnAtTheDeviceResolution()
{
    LoadedTavrin w;
    auto* surface = w.tavrin->findChild<TavrinSurface*>();
    const QImage shown = deviceImage(*surface);
    for (const QString& name : {QString("Label2"), QString::fromUtf16(u"\u0143\u0143")}) {
        const auto item = std::find_if(surface->items().begin(), surface->items().end(),
                                       [&](const auto& i) { return i.name == name; });
        QVERIFY(item != surface->items().end());
        const QRect label = device(item->geometry);
        int mixedBlocks = 0;
        for (int y = label.top(); y < label.bottom(); y += 2)
            for (int x = label.left(); x < label.right(); x += 2) {
                const QRgb corner = shown.pixel(x, y);
                mixedBlocks += shown.pixel(x + 1, y) != corner || shown.pixel(x, y + 1) != corner ||
                               shown.pixel(x + 1, y + 1) != corner;
            }
        QVERIFY2(mixedBlocks > 40, qPrintable(QString("%1: %2").arg(name).arg(mixedBlocks)));
    }
}

QORIN_UI_TEST_MAIN(HiDpiTest)
#include "hidpi_test.moc"
