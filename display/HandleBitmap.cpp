#include "display/HandleBitmap.h"

#include <algorithm>
#include <cmath>

#include "graphics/IGui.h"

void ReloadHandle(graphics::IGui* ui, graphics::IBitmapRef& bitmap) {
  if (!ui || bitmap.name.empty()) return;
  const int target = std::max(1, static_cast<int>(std::ceil(ui->BackingScale())));
  bitmap = ui->LoadBitmap(bitmap.name.c_str(), bitmap.frames, bitmap.framesAreHorizontal, target);
}
