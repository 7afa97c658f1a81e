// Every key of kskin's descriptions, the skin's and the icon's, in one table:
// each table of a description is checked against it before it is read.
#pragma once

#include "common/KeyTable.h"
#include "kskin/DescriptionFields.h"

namespace kskin {

// Sections: "" is the top of a skin description, "icon" the top of an icon
// description; a list of tables has the section of its own name ("picture",
// "size"), and every paint layer is a "layer".
const tools::KeyTable& DescriptionKeys();

// Refuses a key of w's table that `section` does not list, naming the key it
// was likely meant to be, and a value of another type than the table gives
// (which the fields' readers would pass over for their default). Lists of
// tables are left to the readers of their tables.
void CheckKeys(const Where& w, const char* section);

}  // namespace kskin
