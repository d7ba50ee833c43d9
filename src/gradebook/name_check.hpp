// Names the teacher types that become folder and file names (class,
// subject): each must be a plain name, or a "Fehler" box says why not.
#pragma once
#include <memory>
#include <vector>

#include "platform/text.hpp"
#include "tiles/info_box.hpp"

// The box for a name that cannot be a folder or file name.
std::shared_ptr<TInfoBox> NamensfehlerBox(const Text& name);
// True when every name is plain (IstEinfacherName); otherwise shows the box
// for the first one that is not and returns false.
bool NamenPruefen(const std::vector<Text>& namen);
