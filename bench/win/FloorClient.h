#pragma once

// The least a WMI client does for the module's data: enters COM, sets the
// process's COM security, connects to ROOT\CIMV2, runs the same class
// queries and reads the same properties (the module's query tables), and
// leaves. Stops at the first refused query, as the module's collection
// does. Returns the number of queries that ran, or -1 when COM or the
// connection failed.
int RunFloorClient();
