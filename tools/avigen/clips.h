#pragma once
// The program's three animation clips, drawn here frame by frame.

#include "avi_writer.h"

namespace avigen {

// A server and a workstation with a signal passing between them, while a
// connection to a server is made ("findingsp.avi").
Clip ConnectingClip();
// A magnifying glass passing over the computers of a network, while network
// discovery searches ("Findcomp.avi").
Clip SearchingNetworkClip();
// A document flying from one folder into another, while content is copied
// ("importing.avi").
Clip ImportingClip();

} // namespace avigen
