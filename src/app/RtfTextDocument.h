#pragma once

#include "modules/RtfReader.h"

class QTextDocument;

// Builds the rich text the help view shows from what the RTF reader read,
// replacing whatever the document held.
void fillTextDocument(QTextDocument *document, const RtfReader::Document &rtf);
