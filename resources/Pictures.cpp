#include "resources/Pictures.h"

#include <memory>

namespace {

enum class Kind {
  Plain,        // loaded as stored; may be nil
  Transparent,  // white turns transparent; must exist
  Masked,       // transparent, plus the mask picture drawn into its mask
};

struct Slot {
  int id;
  Kind kind;
  Picture* (*mask)();
  std::unique_ptr<Picture> picture;
};

// Loads a slot once. A nil plain picture stays uncached, so it is looked up again next time; a
// masked icon is cached before its mask is fetched, so a mask missing then is never added later.
Picture* Load(Slot& slot) {
  if (slot.picture) return slot.picture.get();
  PictureResources* resources = ApplicationResources();
  if (resources == nullptr) throw NilObjectException("the application has no picture resources");
  slot.picture = resources->GetPicture(slot.id);
  if (slot.kind == Kind::Plain) return slot.picture.get();
  if (!slot.picture) throw NilObjectException("picture " + Str(slot.id) + " is missing");
  slot.picture->SetTransparent(1);
  if (slot.kind == Kind::Masked) {
    if (Picture* mask = slot.mask()) slot.picture->Mask().Graphics().DrawPicture(*mask, 0, 0);
  }
  return slot.picture.get();
}

}  // namespace

// Each picture: its cache slot, its accessor and its releaser.
#define PROJECT_PICTURE(name, id, kind, mask) \
  namespace {                                 \
  Slot name##Slot{id, kind, mask, nullptr};   \
  }                                           \
  Picture* name() {                           \
    return Load(name##Slot);                  \
  }                                           \
  void Release##name() {                      \
    name##Slot.picture.reset();               \
  }

PROJECT_PICTURE(LightningBoltConnect, 168, Kind::Masked, LightningBoltConnectMask)
PROJECT_PICTURE(LightningBoltConnectMask, 169, Kind::Plain, nullptr)
PROJECT_PICTURE(ReportBroken, 170, Kind::Masked, ReportBrokenMask)
PROJECT_PICTURE(ReportBrokenMask, 171, Kind::Plain, nullptr)
PROJECT_PICTURE(ScanServer, 172, Kind::Masked, ScanServerMask)
PROJECT_PICTURE(ScanServerMask, 173, Kind::Plain, nullptr)
PROJECT_PICTURE(PlusSign, 174, Kind::Masked, PlusSignMask)
PROJECT_PICTURE(PlusSignMask, 175, Kind::Plain, nullptr)
PROJECT_PICTURE(brindlecot, 176, Kind::Masked, brindlecotMask)
PROJECT_PICTURE(brindlecotMask, 177, Kind::Plain, nullptr)
PROJECT_PICTURE(logopoweredbygoogle, 180, Kind::Transparent, nullptr)
PROJECT_PICTURE(sparkle1, 181, Kind::Plain, nullptr)

#undef PROJECT_PICTURE

void ReleaseProjectPictures() {
  ReleaseLightningBoltConnect();
  ReleaseLightningBoltConnectMask();
  ReleaseReportBroken();
  ReleaseReportBrokenMask();
  ReleaseScanServer();
  ReleaseScanServerMask();
  ReleasePlusSign();
  ReleasePlusSignMask();
  Releasebrindlecot();
  ReleasebrindlecotMask();
  Releaselogopoweredbygoogle();
  Releasesparkle1();
}
