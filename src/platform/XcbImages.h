#pragma once

// How the board's images reach an X server. A running clock repaints a digit
// or two a second; through shared memory, Qt must wait for the server to be
// done with a region before painting it again, a round trip that wakes two
// of the board's threads every second. Images that small cost less sent over
// the connection itself, and a remote X server never had shared memory.
//
// Called before the QApplication exists. A site's own QT_XCB_NO_MITSHM is
// left as it stands, and ZEMBRAK_XCB_SHM=1 keeps shared memory (a large
// screen whose whole board is repainted often). Other platforms ignore it.
namespace XcbImages {

void chooseTransport();

} // namespace XcbImages
