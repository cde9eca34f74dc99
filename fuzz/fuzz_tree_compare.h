// Equality of two resource trees, down to every resource's bytes and code page.
#pragma once

#include "tools/pack/resource_tree.h"

namespace orvalis::pack {

inline bool SameTree(const ResourceTree& a, const ResourceTree& b) {
  if (a.size() != b.size()) return false;
  for (auto ta = a.begin(), tb = b.begin(); ta != a.end(); ++ta, ++tb) {
    if (!(ta->first == tb->first) || ta->second.size() != tb->second.size()) return false;
    for (auto na = ta->second.begin(), nb = tb->second.begin(); na != ta->second.end(); ++na, ++nb) {
      if (!(na->first == nb->first) || na->second.size() != nb->second.size()) return false;
      for (auto la = na->second.begin(), lb = nb->second.begin(); la != na->second.end(); ++la, ++lb)
        if (la->first != lb->first || la->second.bytes != lb->second.bytes ||
            la->second.codePage != lb->second.codePage)
          return false;
    }
  }
  return true;
}

}  // namespace orvalis::pack
