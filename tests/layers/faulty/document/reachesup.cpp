// Not compiled: a container file that reaches up into the rich-text layer
// and into Qt, which the layering check must report.
#include "document/aehset.h"
#include "richtext/markup.h"

#include <QString>
