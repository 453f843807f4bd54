// The three views and the shape view keep the picture's proportions at every
// window size, clicks go through each view's own picture rectangle, the log
// keeps five lines, and files dropped on the window are loaded.
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <cmath>

#include "ImageWidget.h"
#include "MainFormFixture.h"

namespace tvlc::test {
namespace {

const QSize kWindowSizes[] = {{646, 614}, {1366, 768}, {1920, 1080}};

class MainFormViewsTest : public MainFormTest {
 protected:
  void ResizeWindow(QSize size) {
    frm_->resize(size);
    QApplication::processEvents();
    ASSERT_EQ(frm_->size(), size);
  }

  // The picture of `view` fills its width or its height, keeps the image's
  // proportions to within a screen pixel, and sits in the middle.
  void ExpectLetterboxed(const char* name, QSize image) {
    auto* view = Find<TImageWidget>(name);
    const QRect shown = view->PictureRect();
    SCOPED_TRACE(std::string(name) + " in " + std::to_string(view->width()) + "x" +
                 std::to_string(view->height()));
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_TRUE(shown.width() == view->width() || shown.height() == view->height());
    EXPECT_LE(std::abs(shown.width() * image.height() - shown.height() * image.width()),
              std::max(image.width(), image.height()));
    EXPECT_LE(std::abs(shown.left() - (view->width() - shown.right() - 1)), 1);
    EXPECT_LE(std::abs(shown.top() - (view->height() - shown.bottom() - 1)), 1);
  }

  void Drop(const QStringList& files, QWidget* target) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& file : files) urls << QUrl::fromLocalFile(file);
    data->setUrls(urls);
    const QPoint at = target->mapTo(frm_.get(), target->rect().center());
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(frm_.get(), &enter);
    accepted_ = enter.isAccepted();
    if (accepted_) {
      QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, {});
      QApplication::sendEvent(frm_.get(), &drop);
      QApplication::processEvents();  // the files load once the drop is over
    }
    delete data;
  }
  bool accepted_ = false;
};

TEST_F(MainFormViewsTest, ViewsKeepThePicturesProportionsAtEverySize) {
  LoadPicture(kSamplePicture);
  LoadMap(kSampleMap);
  Find<QListWidget>("ShapeList")->setCurrentRow(0);
  Find<QPushButton>("ShowShBtn")->click();
  const QSize shape = Find<TImageWidget>("ViewDrawArea")->Shown().size();
  for (QSize size : kWindowSizes) {
    ResizeWindow(size);
    for (const char* view : {"Picture", "PicDrawArea", "Map", "MapDrawArea", "Reconst",
                             "ReconstDrawArea"})
      ExpectLetterboxed(view, QSize(512, 512));
    // Image and overlay fall on the same rectangle.
    EXPECT_EQ(Find<TImageWidget>("Map")->PictureRect(),
              Find<TImageWidget>("MapDrawArea")->PictureRect());
  }
  Find<QTabWidget>("ShapeTabs")->setCurrentIndex(1);
  for (QSize size : kWindowSizes) {
    ResizeWindow(size);
    ExpectLetterboxed("ViewDrawArea", shape);
  }
}

TEST_F(MainFormViewsTest, TheBackgroundShowsAroundTheLetterboxedPicture) {
  LoadSmallInputs();
  ResizeWindow(QSize(1920, 1080));
  auto* view = Find<TImageWidget>("Picture");
  const QRect shown = view->PictureRect();
  const QImage shot = view->grab().toImage();
  const QColor background = view->palette().window().color();
  // Wider than 4:3 at this size: the bands are left and right.
  ASSERT_GT(shown.left(), 2);
  EXPECT_EQ(QColor(shot.pixel(shown.left() - 2, shown.center().y())), background);
  const QImage& picture = view->Shown();
  EXPECT_EQ(shot.pixel(shown.left() + 1, shown.top() + 1), picture.pixel(0, 0));
  EXPECT_EQ(shot.pixel(shown.right() - 1, shown.bottom() - 1), picture.pixel(63, 47));
}

TEST_F(MainFormViewsTest, ClicksMapThroughEachViewsPictureRectangle) {
  LoadSmallInputs();
  Trigger("ClearLog1");
  ResizeWindow(QSize(1920, 1080));
  auto* map = Find<TImageWidget>("MapDrawArea");
  const QRect shown = map->PictureRect();
  ASSERT_GT(shown.left(), 10);  // letterboxed left and right
  // A click in the band beside the picture selects nothing.
  QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(shown.left() / 2, shown.center().y()));
  EXPECT_EQ(Find<QListWidget>("ShapeList")->currentRow(), -1);
  EXPECT_TRUE(LogMessages().empty());
  // The picture's bottom right pixel selects the shape that holds it, on
  // every view.
  int holder = -1;
  for (size_t i = 0; i < frm_->Core().Shapes.size() && holder < 0; ++i)
    if (frm_->Core().Shapes[i].Shape->Contains(63, 47)) holder = int(i);
  ASSERT_GE(holder, 0);
  for (const char* name : {"PicDrawArea", "MapDrawArea", "ReconstDrawArea"}) {
    Find<QListWidget>("ShapeList")->setCurrentRow(-1);
    auto* view = Find<TImageWidget>(name);
    const QRect r = view->PictureRect();
    const QPoint at(r.left() + int(std::lround(63 * r.width() / 64.0)),
                    r.top() + int(std::lround(47 * r.height() / 48.0)));
    QTest::mouseClick(view, Qt::LeftButton, {}, at);
    EXPECT_EQ(frm_->Core().ClickX, 63) << name;
    EXPECT_EQ(frm_->Core().ClickY, 47) << name;
    EXPECT_EQ(Find<QListWidget>("ShapeList")->currentRow(), holder) << name;
  }
}

TEST_F(MainFormViewsTest, TheLogKeepsFiveLinesAndTheViewsGrowWithTheWindow) {
  auto* log = Find<QPlainTextEdit>("Log");
  const int lines = log->fontMetrics().lineSpacing() * 5;
  int previous = 0;
  for (QSize size : kWindowSizes) {
    ResizeWindow(size);
    EXPECT_GE(log->viewport()->height(), lines) << size.width();
    const int area = Find<QWidget>("Picture")->width() * Find<QWidget>("Picture")->height();
    EXPECT_GT(area, previous) << size.width();
    previous = area;
  }
}

TEST_F(MainFormViewsTest, DroppedFilesLoadAsPictureAndMap) {
  const QString picture = QString::fromStdString(kPicture64);
  const QString map = QString::fromStdString(kMap64);
  Drop({picture}, Find<QWidget>("Picture"));
  EXPECT_TRUE(accepted_);
  EXPECT_EQ(frm_->Core().PicWidth, 64);
  EXPECT_EQ(frm_->Core().MapWidth, 0);
  // One file on the map view is the map.
  Drop({map}, Find<QWidget>("MapDrawArea"));
  EXPECT_EQ(frm_->Core().MapWidth, 64);
  EXPECT_EQ(Find<QListWidget>("ShapeList")->count(), 22);
  // Two files are the picture and then the map, wherever they land.
  Trigger("ClearLog1");
  Drop({picture, map}, Find<QWidget>("Log"));
  const std::vector<std::string> messages = LogMessages();
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[0], "Picture " + kPicture64 + " of size 64x48 loaded.");
  EXPECT_EQ(messages[2], "Map " + kMap64 + " of size 64x48 loaded.");
}

TEST_F(MainFormViewsTest, DropsAreRefusedWhileACommandRuns) {
  LoadSmallInputs();
  Find<QListWidget>("ShapeList")->setCurrentRow(0);
  Find<QPushButton>("ShowShBtn")->click();
  bool tried = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (tried || frm_->Core().Controls.EncBtnCaption != "Stop") return;
    tried = true;
    Drop({QString::fromStdString(kPicture64)}, Find<QWidget>("Picture"));
  });
  poll.start(0);
  frm_->Core().SetInputInterval({});
  Find<QPushButton>("EncBtn")->click();
  ASSERT_TRUE(tried);
  EXPECT_FALSE(accepted_);
}

}  // namespace
}  // namespace tvlc::test
