// Every picture of the demo story, by file name, with the painter that makes it.
#pragma once

#include <string>
#include <vector>

#include "artwork.h"

namespace demo_art {

struct CatalogueEntry {
  const char* file_name;
  Artwork (*paint)();
};

const std::vector<CatalogueEntry>& Catalogue();

}  // namespace demo_art
