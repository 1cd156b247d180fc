#pragma once

// How the archive layer compares names: path components, the lookup key of a
// name and the wildcards of a directory search.

#include <string>
#include <vector>

namespace Zing::PakNames {

// The components of a path split at '/' and '\' (runs count as one), with "."
// dropped and ".." taking away the component before it. `absolute` tells
// whether the path began with a separator.
std::vector<std::string> Components(const std::string& path, bool& absolute);

// The components joined by '\', after a leading '\' when `absolute`.
std::string Join(const std::vector<std::string>& components, bool absolute);

// The lookup key: the components joined by '\', letters in upper case, with
// the working folder taken off an absolute path that lies below it.
std::string Normalize(const std::string& path);

// Upper case of the ASCII letters; other bytes stay as they are.
std::string UpperCase(std::string text);

// Whether `name` matches `pattern`, where '*' stands for any run of
// characters and '?' for any one character; compared as given.
bool MatchesWildcard(const std::string& pattern, const std::string& name);

}  // namespace Zing::PakNames
