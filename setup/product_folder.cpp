// Product sub-folder rule.
#include "setup/product_folder.h"

#include "core/text.h"

namespace orvalis {

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  // The temporary folder and drive roots come with their "\"; one is enough.
  if (!EndsWith(path, "\\")) path += '\\';
  path += name;
  return path;
}

std::string ProductFolder(std::string_view base, const SetupState& state, const FileExistsFunction& fileExists) {
  if (base.empty()) return {};
  if (base.find("\\Orvalis\\" + state.Product) != std::string_view::npos) return std::string(base);
  if (!state.ProgramFile.empty() && fileExists && fileExists(JoinPath(base, state.ProgramFile)))
    return std::string(base);
  return JoinPath(base, "Orvalis\\" + state.Product);
}

}  // namespace orvalis
