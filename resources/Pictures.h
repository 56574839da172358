// The project's pictures, loaded from the application's resources on first use and kept until
// released. Each accessor is named after its picture.
#pragma once

#include "Picture.h"

// Toolbar icons: shown with white transparent and their mask applied. A missing icon raises
// NilObjectException; a missing mask leaves the icon without one.
Picture* LightningBoltConnect();
Picture* ReportBroken();
Picture* ScanServer();
Picture* PlusSign();
Picture* brindlecot();

// The icons' masks (black shows, white hides): plain pictures, nil when missing.
Picture* LightningBoltConnectMask();
Picture* ReportBrokenMask();
Picture* ScanServerMask();
Picture* PlusSignMask();
Picture* brindlecotMask();

// The report service's badge (white transparent; NilObjectException when missing) and the update
// window's artwork (plain; nil when missing).
Picture* logopoweredbygoogle();
Picture* sparkle1();

// Each releaser drops its cached picture; the next access loads it again.
void ReleaseLightningBoltConnect();
void ReleaseLightningBoltConnectMask();
void ReleaseReportBroken();
void ReleaseReportBrokenMask();
void ReleaseScanServer();
void ReleaseScanServerMask();
void ReleasePlusSign();
void ReleasePlusSignMask();
void Releasebrindlecot();
void ReleasebrindlecotMask();
void Releaselogopoweredbygoogle();
void Releasesparkle1();

// All twelve releasers, in the order they are declared above.
void ReleaseProjectPictures();
