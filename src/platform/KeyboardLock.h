#pragma once

// The operating system's NumLock toggle. On X11 it is read and set through
// XKB; elsewhere (Wayland, offscreen) it reads as off and cannot be changed.
namespace KeyboardLock {

bool numLockOn();
// Whether this session lets a program set the lock at all: only X11 does.
bool canSetNumLock();
// Puts the lock in the desired state; nothing when it is there already.
void setNumLock(bool on);

} // namespace KeyboardLock
