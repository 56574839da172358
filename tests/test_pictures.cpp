#include <QImage>
#include <QtTest>
#include <map>
#include <memory>
#include <set>

#include "resources/Pictures.h"

namespace {

struct Accessor {
  const char* name;
  int id;
  Picture* (*get)();
  void (*release)();
  Picture* (*mask)();  // a masked icon's mask accessor
  bool transparent;    // white turns transparent, and a missing picture is an error
};

const Accessor kPictures[] = {
    {"LightningBoltConnect", 168, LightningBoltConnect, ReleaseLightningBoltConnect,
     LightningBoltConnectMask, true},
    {"LightningBoltConnectMask", 169, LightningBoltConnectMask, ReleaseLightningBoltConnectMask,
     nullptr, false},
    {"ReportBroken", 170, ReportBroken, ReleaseReportBroken, ReportBrokenMask, true},
    {"ReportBrokenMask", 171, ReportBrokenMask, ReleaseReportBrokenMask, nullptr, false},
    {"ScanServer", 172, ScanServer, ReleaseScanServer, ScanServerMask, true},
    {"ScanServerMask", 173, ScanServerMask, ReleaseScanServerMask, nullptr, false},
    {"PlusSign", 174, PlusSign, ReleasePlusSign, PlusSignMask, true},
    {"PlusSignMask", 175, PlusSignMask, ReleasePlusSignMask, nullptr, false},
    {"brindlecot", 176, brindlecot, Releasebrindlecot, brindlecotMask, true},
    {"brindlecotMask", 177, brindlecotMask, ReleasebrindlecotMask, nullptr, false},
    {"logopoweredbygoogle", 180, logopoweredbygoogle, Releaselogopoweredbygoogle, nullptr, true},
    {"sparkle1", 181, sparkle1, Releasesparkle1, nullptr, false},
};

// Hands out 24x16 white pictures with their left columns black (12 unless told otherwise),
// counting the reads of each id; ids in `missing` have no picture.
class FakeResources : public PictureResources {
 public:
  std::unique_ptr<Picture> GetPicture(int id) override {
    ++loads_;
    ++reads[id];
    if (missing.count(id) != 0) return nullptr;
    auto picture = std::make_unique<Picture>(24, 16);
    auto columns = blackColumns.find(id);
    picture->Graphics().FillRect(0, 0, columns == blackColumns.end() ? 12 : columns->second, 16);
    return picture;
  }

  std::map<int, int> reads;
  std::set<int> missing;
  std::map<int, int> blackColumns;
};

bool Any(const Accessor&) {
  return true;
}
bool Masked(const Accessor& a) {
  return a.mask != nullptr;
}

void AddRows(bool (*keep)(const Accessor&)) {
  QTest::addColumn<int>("index");
  for (int i = 0; i < static_cast<int>(std::size(kPictures)); ++i) {
    if (keep(kPictures[i])) QTest::newRow(kPictures[i].name) << i;
  }
}

const Accessor& Row() {
  QFETCH(int, index);
  return kPictures[index];
}

}  // namespace

class TestPictures : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    fake_ = std::make_unique<FakeResources>();
    SetApplicationResources(fake_.get());
  }

  void cleanup() {
    for (const Accessor& a : kPictures) a.release();
    RestoreApplicationResources();
    fake_.reset();
  }

  void readsEachPictureOnce_data() { AddRows(Any); }
  void readsEachPictureOnce() {
    const Accessor& a = Row();
    Picture* first = a.get();
    QVERIFY(first != nullptr);
    QCOMPARE(a.get(), first);
    QCOMPARE(fake_->reads[a.id], 1);
    QCOMPARE(first->Transparent(), a.transparent ? 1 : 0);
    if (a.mask != nullptr) {
      // The icon fetched its mask through the mask's accessor, which now has it cached.
      QCOMPARE(fake_->reads[a.id + 1], 1);
      QVERIFY(a.mask() != nullptr);
      QCOMPARE(fake_->reads[a.id + 1], 1);
    }

    a.release();
    QVERIFY(a.get() != nullptr);
    QCOMPARE(fake_->reads[a.id], 2);
    if (a.mask != nullptr) QCOMPARE(fake_->reads[a.id + 1], 1);
  }

  // The mask is drawn into the icon's mask unscaled at the top-left: the icon shows exactly
  // where the mask is black.
  void iconShowsThroughItsMask_data() { AddRows(Masked); }
  void iconShowsThroughItsMask() {
    const Accessor& a = Row();
    fake_->blackColumns[a.id] = 24;
    fake_->blackColumns[a.id + 1] = 8;
    Picture* icon = a.get();
    QVERIFY(icon->HasMask());
    const QImage shown = icon->Shown();
    for (int x = 0; x < 24; ++x) {
      QCOMPARE(qAlpha(shown.pixel(x, 0)), x < 8 ? 255 : 0);
      QCOMPARE(qAlpha(shown.pixel(x, 15)), x < 8 ? 255 : 0);
    }
  }

  // Once cached, the icon is final: a mask that turns up later is not added to it.
  void iconWithoutMaskStaysMaskless_data() { AddRows(Masked); }
  void iconWithoutMaskStaysMaskless() {
    const Accessor& a = Row();
    fake_->missing.insert(a.id + 1);
    Picture* icon = a.get();
    QVERIFY(icon != nullptr);
    QCOMPARE(icon->Transparent(), 1);
    QVERIFY(!icon->HasMask());
    QCOMPARE(fake_->reads[a.id + 1], 1);

    QCOMPARE(a.mask(), nullptr);
    QCOMPARE(fake_->reads[a.id + 1], 2);
    fake_->missing.clear();
    QVERIFY(a.mask() != nullptr);
    QCOMPARE(a.get(), icon);
    QVERIFY(!icon->HasMask());
    QCOMPARE(fake_->reads[a.id], 1);
  }

  // A missing transparent picture is an error on every call; a missing plain one is nil. Both
  // are looked for again each time.
  void missingPicture_data() { AddRows(Any); }
  void missingPicture() {
    const Accessor& a = Row();
    fake_->missing.insert(a.id);
    for (int call = 1; call <= 2; ++call) {
      if (a.transparent) {
        QVERIFY_THROWS_EXCEPTION(NilObjectException, a.get());
      } else {
        QCOMPARE(a.get(), nullptr);
      }
      QCOMPARE(fake_->reads[a.id], call);
    }
    if (a.mask != nullptr) QCOMPARE(fake_->reads[a.id + 1], 0);
  }

  // Without resources nothing can be loaded, but what is cached is still served.
  void noResources_data() { AddRows(Any); }
  void noResources() {
    const Accessor& a = Row();
    SetApplicationResources(nullptr);
    QVERIFY_THROWS_EXCEPTION(NilObjectException, a.get());

    SetApplicationResources(fake_.get());
    Picture* cached = a.get();
    SetApplicationResources(nullptr);
    QCOMPARE(a.get(), cached);
  }

  void releaseProjectPicturesEmptiesEverySlot() {
    for (const Accessor& a : kPictures) a.get();
    ReleaseProjectPictures();
    for (const Accessor& a : kPictures) {
      QVERIFY(a.get() != nullptr);
      QCOMPARE(fake_->reads[a.id], 2);
    }
  }

  void compiledPicturesLoad_data() { AddRows(Any); }
  void compiledPicturesLoad() {
    const Accessor& a = Row();
    RestoreApplicationResources();
    Picture* picture = a.get();
    QVERIFY(picture != nullptr);
    if (a.mask != nullptr) {
      QCOMPARE(a.mask()->Width(), picture->Width());
      QCOMPARE(a.mask()->Height(), picture->Height());
    }
  }

  // The artwork and its mask agree: fully hidden where the mask is white, fully shown where it
  // is black (which also means no pure white inside the artwork), and some of each.
  void compiledIconsShowThroughTheirMasks_data() { AddRows(Masked); }
  void compiledIconsShowThroughTheirMasks() {
    const Accessor& a = Row();
    RestoreApplicationResources();
    const QImage shown = a.get()->Shown();
    const QImage& mask = a.mask()->Image();
    int hidden = 0;
    int opaque = 0;
    for (int y = 0; y < mask.height(); ++y) {
      for (int x = 0; x < mask.width(); ++x) {
        const int grey = qGray(mask.pixel(x, y));
        const int alpha = qAlpha(shown.pixel(x, y));
        if (grey == 255) {
          QCOMPARE(alpha, 0);
          ++hidden;
        } else if (grey == 0) {
          QCOMPARE(alpha, 255);
          ++opaque;
        }
      }
    }
    QVERIFY(hidden > 0);
    QVERIFY(opaque > 0);
  }

 private:
  std::unique_ptr<FakeResources> fake_;
};

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
