// The program put together. The container of the document layer knows
// nothing of markup or frame sets; where it must call up into those layers
// (converting a page still in the older text form, writing a frame map's
// frameset description) it calls hooks. Whoever makes a container (the two
// programs, tests, benchmarks, fuzz targets, the sample writer) installs
// them here, all at once, so that none is forgotten.
#pragma once

namespace tarn::document {
class TAEHset;
}

namespace tarn::app {

// Installs every hook of the container; answers the container.
document::TAEHset& Compose(document::TAEHset& set);

}  // namespace tarn::app
