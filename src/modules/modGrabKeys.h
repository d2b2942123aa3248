#pragma once

#include <QString>

class Form;
class FormControl;
class Image;

// Picture fitting, digit style, and holding NumLock.
namespace modGrabKeys {

// Loads fileName into image and fits it, aspect kept and centred, inside
// container. An empty name clears the picture, and so does a file that is no
// readable picture or is far too large; a name that leads to no existing
// file leaves the image as it was.
void FitPicture(Image *image, FormControl *container, const QString &fileName);

// Writes the lamp style into every LED display of the window.
void SetLedType(const Form &window, qint32 style);

// Puts the NumLock toggle in the desired state (True is on).
void SetNumLock(bool on);

} // namespace modGrabKeys
