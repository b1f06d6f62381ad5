// Not compiled: a widget may include any layer and Qt.
#include "page/aehpage.h"

#include <QWidget>
