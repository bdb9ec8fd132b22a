// The queue entry of a tick given in the file list: the row of a file of the
// folder selected in the disc list (form1_ticks.cpp).
#pragma once

#include "discpage/index_edits.h"
#include "platform/controls/listview.h"
#include "platform/controls/treeview.h"

namespace discpage {

PendingTick pendingTickOf(const platform::Node& folder, const platform::ListItem& row);

}  // namespace discpage
