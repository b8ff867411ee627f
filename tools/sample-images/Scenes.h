#pragma once
#include <cairo.h>

#include <string>
#include <vector>

// One illustration of the demo site. `draw` paints it in a 600 × 400 design space; the caller
// scales that space to the size of the image being made.
struct Scene {
  std::string name;
  bool jpeg;  // saved as JPEG, otherwise PNG
  void (*draw)(cairo_t*);
};

const std::vector<Scene>& scenes();
