// Whole dumps compared byte for byte: the field-data converter parses this text, so a
// changed label, a missing line or a different number format breaks the import.

#include <gtest/gtest.h>

#include <string>

#include "k7rdump/K7rDumpFixtures.h"

namespace {

using k7rtest::Dump;
using k7rtest::HeaderFields;
using k7rtest::MakeFile;
using k7rtest::RecordFields;

std::string Repeat(const std::string& line, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += line;
  return text;
}

// Version 17 resistivity file of the kind the converter imports: a scaled record, then a
// record with float coordinates. The extra last record shows value options 0 and so the
// scaled coordinates kept from the first record, with everything else from the second.
TEST(K7rWholeDump, Version17ResistivityWithBothCoordinateKinds) {
  HeaderFields h;
  h.instrumentId = "TVM4000-0042";  // all twelve bytes, no zero byte
  h.created = 2177485200u + 365u * 86400u + 13u * 3600u + 7u * 60u + 5u;
  h.operatorName = "A. Lund";
  h.client = "Road office";
  h.notes = {"Line 1", "", "wet", ""};
  h.protocolType = 1;
  h.protocolCount = 2;
  h.protocols = {"WENNER_32", "SCHLUM_32"};
  h.linkType = -1;
  h.idCode = 0;
  h.gridSize = 2.5f;
  h.refLocation = {100.25f, -3.5f, 0};
  h.azimuth = 45;
  h.inclination = 0.5f;
  h.items = 2;
  h.dataOffset = 512;
  h.nextData = -1;
  h.dataGridSize = 2.5f;
  h.layoutOffset = {10, 0, 0};
  h.valueOptions = 1;
  h.outCurrent = 200;
  h.delay = 0.02f;
  h.incrementFactor = 2;
  h.intervals = 10;
  h.startInterval = 1;
  h.ipTime = 1.5f;
  h.errorLimit = 0.001f;
  h.norm = 1;
  h.max = 100;
  h.min = -100;
  h.ccMode = 3;
  h.acqDelay = 0.25f;
  h.dummies = {7, 8, 0};

  RecordFields scaled;
  scaled.valueOptions = 0;
  scaled.scaled = {1, 0, -2, 4, 0, 0, 2, 0, 0, 3, 32767, 0};
  scaled.status = 0x00000104u;
  scaled.current = 65535;
  scaled.data = -1e-05f;
  scaled.error = 1234567;
  scaled.acqTime = 4000000000u;
  RecordFields floats;
  floats.valueOptions = 1;
  floats.coordinates = {0, 0, 0, 7.5f, 0, 0, 2.5f, 0, 0, 5, 0, 0};
  floats.status = 0x05000A03u;
  floats.current = 120;
  floats.data = 47.25f;
  floats.error = 0.125f;
  floats.acqTime = 1000;

  const std::string expected = R"(K7R file format version:17
Instrument id:TVM4000-0042
Creation time: Fri Jan 01 13:07:05 1971

Acquisition mode:RES
Method:Section
Operator:A. Lund
Client:Road office
Note:Line 1
Note:
Note:wet
Note:
Skip:
Protocol type:Kelvix
Number of protocols:2
0 Protocol: WENNER_32
1 Protocol: SCHLUM_32
2 Protocol: 
3 Protocol: 
4 Protocol: 
5 Protocol: 
6 Protocol: 
7 Protocol: 
Link type:-1
Layout
IdCode:0
DefCode:WEN
Name:Wenner
Grid size:2.5
Skip:
Ref location x:100.25
Ref location y:-3.5
Ref location z:0
Azimuth:45
Inclination:0.5
Geometry
Number of dimensions:0
Data
Channels:1
Dim 3
Items:2
DataOffset:512
Next data:-1
Grid size:2.5
Layout offset x:10
Layout offset y:0
Layout offset z:0
Value options:1
Base freq:50
Acq time:0.5
Out current:200
Delay:0.02
Increment factor:2
Intervals:10
Start interval:1
Ip time:1.5
Error limit:0.001
Norm:1
Max:100
Min:-100
ccMode:3
Acq delay:0.25
Dummy:7
Dummy:8
==================================
-----------------------------------
Value options 0
sAX:1
sAY:0
sAZ:-2
sBX:4
sBY:0
sBZ:0
sMX:2
sMY:0
sMZ:0
sNX:3
sNY:32767
sNZ:0
Stack 4, Gain 1, IPGain 0, Status 0
Current:65535
Data:-1e-05
Error:1.23457e+06
Acq time:4000000000
-----------------------------------
Value options 1
AX:0
AY:0
AZ:0
BX:7.5
BY:0
BZ:0
MX:2.5
MY:0
MZ:0
NX:5
NY:0
NZ:0
Stack 3, Gain 2, IPGain 2, Status 5
Current:120
Data:47.25
Error:0.125
Acq time:1000
-----------------------------------
Value options 0
sAX:1
sAY:0
sAZ:-2
sBX:4
sBY:0
sBZ:0
sMX:2
sMY:0
sMZ:0
sNX:3
sNY:32767
sNZ:0
Stack 3, Gain 2, IPGain 2, Status 5
Current:120
Data:47.25
Error:0.125
Acq time:1000
)";
  EXPECT_EQ(Dump(MakeFile(h, {scaled, floats})), expected);
}

// Version 3 IP file: no instrument id, two protocol lines, no geometry, no layout
// offsets, old 16-bit status, chargeabilities without IP errors; creation time before
// 1970.
TEST(K7rWholeDump, Version3InducedPolarisation) {
  HeaderFields h;
  h.version = 3;
  h.created = 100000000u;
  h.mode = 3;
  h.operatorName = "";
  h.client = "";
  h.protocols = {"GRAD_21"};
  h.linkType = 2;
  h.idCode = 11;
  h.defCode = "GRA";
  h.name = "Gradient";
  h.gridSize = 5;
  h.electrodeDims = 2;
  h.items = 1;
  h.dataOffset = 300;
  h.dataGridSize = 5;
  h.baseFrequency = 60;
  h.acqTime = 1;
  h.outCurrent = 500;
  h.delay = 0.1f;
  h.intervals = 3;
  h.startInterval = 2;
  h.ipTime = 2;
  h.errorLimit = 0.01f;
  h.max = 10;
  h.dummies = {0, 65535, 0};

  RecordFields r;
  r.scaled = {0, 0, 99, 40, 0, 99, 10, 0, 99, 12, -1, 99};  // no Z with two dimensions
  r.status = 10;
  r.current = 250;
  r.data = 12.75f;
  r.error = 0.7f;
  r.acqTime = 77;
  r.ipTime = 2;
  r.intervalMultiplier = 2;
  r.intervals = 3;
  r.firstIntervalTime = 0.02f;
  r.delay = 0.01f;
  r.chargeability = {3.3f, 1.5f, 0.7f};

  const std::string record = R"(-----------------------------------
sAX:0
sAY:0
sBX:40
sBY:0
sMX:10
sMY:0
sNX:12
sNY:-1
Status (old format):10
Current:250
Data:12.75
Error:0.7
Acq time:77
ipTime_:2
intervalMultiplier_:2
nIntervals_:3
firstIntervalTime_:0.02
delay_:0.01
chargeability_:3.3
chargeability_:1.5
chargeability_:0.7
)" + Repeat("chargeability_:0\n", 7);

  const std::string expected = R"(K7R file format version:3
Creation time: (not valid -2077485200
Acquisition mode:IP
Method:Section
Operator:
Client:
Note:
Note:
Note:
Note:
Skip:
Protocol type:No protocol
Number of protocols:1
Protocol:GRAD_21
Protocol:
Link type:2
Layout
IdCode:11
DefCode:GRA
Name:Gradient
Grid size:5
Skip:
Data
Channels:1
Dim 2
Items:1
DataOffset:300
Next data:0
Grid size:5
Base freq:60
Acq time:1
Out current:500
Delay:0.1
Increment factor:1
Intervals:3
Start interval:2
Ip time:2
Error limit:0.01
Norm:0
Max:10
Min:0
Dummy:0
Dummy:65535
==================================
)" + record + record;
  EXPECT_EQ(Dump(MakeFile(h, {r})), expected);
}

// Version 16 borehole log with protocol type 2 and a geometry dimension: the logging
// and "Max number" lines of the data description and the logging record layout.
TEST(K7rWholeDump, Version16BoreholeLogWithGeometry) {
  HeaderFields h;
  h.version = 16;
  h.instrumentId = "LOG-7";
  h.created = 0;
  h.mode = 4;
  h.method = "Logging";
  h.operatorName = "";
  h.client = "";
  h.protocolType = 2;
  h.protocolCount = 0;
  h.protocols = {};
  h.idCode = 0;
  h.defCode = "";
  h.name = "";
  h.gridSize = 0.25f;
  h.refLocation = {0, 0, 12.5f};
  h.inclination = 90;
  h.dimensions = {{"Borehole B1", {{1, 2, 3}, {1.5f, 2.5f, -3.5f}}}};
  h.channels = 2;
  h.electrodeDims = 1;
  h.items = 1;
  h.dataGridSize = 0.25f;
  h.positionDepth = 12.5f;
  h.dataType = 3;
  h.maxAb = 5;
  h.maxMn = 9;
  h.dummies = {1, 2, 3};

  RecordFields r;
  r.logDataType = 3;
  r.depth = 12.5f;
  r.current = 10;
  r.status = 0x01000001u;
  r.acqTime = 5;
  r.data = 99.9f;
  r.error = 0.5f;
  r.intervalMultiplier = 1;
  r.ipError[9] = 0.125f;

  const std::string record = R"(-----------------------------------
dataType =3 LOG_SHORTNORMAL
depth:12.5
Current:10
Stack 1, Gain 0, IPGain 0, Status 1
Acq time:5
Data:99.9
Error:0.5
nIntervals_:0
intervalMultiplier_:1
delay_:0
firstIntervalTime_:0
ipTime_:0
)" + Repeat("chargeability_:0\n", 10) +
                             Repeat("ipError_:0\n", 9) + "ipError_:0.125\n";

  const std::string expected = R"(K7R file format version:16
Instrument id:LOG-7
Creation time: Thu Feb 05 21:28:16 2037

Acquisition mode:LOG
Method:Logging
Operator:
Client:
Note:
Note:
Note:
Note:
Skip:
Protocol type:Polvane
Number of protocols:0
0 Protocol: 
1 Protocol: 
2 Protocol: 
3 Protocol: 
4 Protocol: 
5 Protocol: 
6 Protocol: 
7 Protocol: 
Link type:0
Layout
IdCode:0
DefCode:
Name:
Grid size:0.25
Skip:
Ref location x:0
Ref location y:0
Ref location z:12.5
Azimuth:0
Inclination:90
Geometry
Number of dimensions:1
Dimension 0
Heading:Borehole B1
Number of items:2
X:1
Y:2
Z:3
X:1.5
Y:2.5
Z:-3.5
Data
Channels:2
Dim 1
Items:1
DataOffset:0
Next data:0
Grid size:0.25
Layout offset x:0
Layout offset y:0
Layout offset z:0
Value options:0
Base freq:50
Acq time:0.5
Out current:100
Delay:0
Increment factor:1
Intervals:0
Start interval:0
Ip time:0
Error limit:0
Norm:0
Max:0
Min:0
ccMode:0
Acq delay:0
Position depth:12.5
Datatype:3
Max number AB:5
Max number MN:9
Dummy:1
Dummy:2
DUMMY:3
==================================
)" + record + record;
  EXPECT_EQ(Dump(MakeFile(h, {r})), expected);
}

}  // namespace
