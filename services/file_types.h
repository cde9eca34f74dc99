// Associating a file extension with the product's program.
#pragma once

#include <string_view>

namespace orvalis {

// Registers `ext` (without its dot) as its own file class whose "open"
// command starts `program` with the file, marks it safe to open, makes it the
// user's choice for the extension and removes an old default icon (the steps
// of FileTypeSteps). True when every write succeeded; a failed write does not
// stop the later steps, and the deletions do not count.
[[nodiscard]] bool AssociateFileType(std::string_view ext, std::string_view program, std::string_view description);

}  // namespace orvalis
