// Not compiled: the Qt platform layer may include Qt and what lies below it.
#include "platform/canvas.h"

#include <QPainter>
