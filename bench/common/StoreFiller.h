#pragma once

class CMorvApp;

// Gives the store a summary, a power record and records whose filled
// fields number `properties` (rounded up to whole records), spread over
// several classes so the document has the shape of a large machine's.
// Returns the number of fields filled.
int FillStore(CMorvApp& app, int properties);
