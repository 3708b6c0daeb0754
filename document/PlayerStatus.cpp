#include "document/PlayerStatus.h"

void CopyPlayerStatusBlock(const PlayerStatusBlock& source, PlayerStatusBlock& target) { target = source; }
