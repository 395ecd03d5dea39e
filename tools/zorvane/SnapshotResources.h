#pragma once

// The snapshot's resources are the modules' own tables, both linked in under their own names;
// this picks the one the skin's module carries.
void select_snapshot_resources(bool compact);
