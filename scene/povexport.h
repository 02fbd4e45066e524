// POV-Ray and MPEG parameter export: one pattern cycle as POV-Ray scene and INI files.
#pragma once

void qPovExport();
