#pragma once
// The soundtrack "qzt_dmbl.xm", composed bar by bar from the arrangement.
#include "xm_writer.h"

namespace assetgen {

XmModule makeSong();

}  // namespace assetgen
