#pragma once

// For a program or module that shows either skin: both skins' resource tables are linked in
// under their own names, and this picks the one the resources are read from, as the skin's own
// module would carry it. Before the editor loads its pictures; not thread-safe.
void select_skin_resources(bool compact);
