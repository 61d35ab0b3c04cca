#pragma once

// Marks a text for Qt's lupdate, which reads it from the macro's second argument; the window
// that shows the text translates it in that context. Layers without Qt see the text alone.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif
