// The number of every user command: menu entries, tool-bar buttons and hot keys. The numbers key
// the command table, the menu bars, the tool bars and the status help; key-only commands are
// negative. The paint tools' buttons are numbered by the paint tool registry.
#pragma once

#include <cstdint>

enum CommandNumber : int32_t {
  // Key-only commands.
  kCommandRepeatLast = -1,
  kCommandStartRecording = -2,
  kCommandEndRecording = -3,
  kCommandObjectStatistics = -4,
  kCommandPanLeft = -5,
  kCommandPanRight = -6,
  kCommandPanUp = -7,
  kCommandPanDown = -8,

  // The element tool bar and the work-mode button.
  kCommandSelectVertices = 8194,
  kCommandSelectEdges = 8195,
  kCommandSelectFaces = 8196,
  kCommandSelectObjects = 8197,
  kCommandSelectFree = 8198,
  kCommandGoToModel = 8201,
  kCommandGoToPaint = 8202,
  kCommandPalette = 8204,

  // File.
  kCommandNew = 8449,
  kCommandOpen = 8450,
  kCommandSave = 8452,
  kCommandSaveAs = 8453,
  kCommandSaveSelected = 8454,
  kCommandRevert = 8455,
  kCommandImport = 8456,
  kCommandExportAll = 8457,
  kCommandExportSelected = 8458,
  kCommandScreenCapture = 8459,
  kCommandQuit = 8461,

  // Edit.
  kCommandUndo = 8705,
  kCommandDelete = 8706,
  kCommandRedo = 8707,
  kCommandDeleteAll = 8710,

  // View.
  kCommandGroundPlane = 8962,
  kCommandAxes = 8963,
  kCommandAim = 8964,
  kCommandResetView = 8965,
  kCommandViewAlongPlusX = 8966,
  kCommandViewAlongPlusY = 8967,
  kCommandViewAlongPlusZ = 8968,
  kCommandViewAlongMinusX = 8969,
  kCommandViewAlongMinusY = 8970,
  kCommandViewAlongMinusZ = 8971,
  kCommandOrthoCamera = 8972,
  kCommandSymmetryX = 8973,
  kCommandSymmetryY = 8974,
  kCommandSymmetryZ = 8975,
  kCommandWireframeSelected = 9217,
  kCommandWireframeAll = 9218,
  kCommandShadeSelected = 9219,
  kCommandShadeAll = 9220,
  kCommandWorkmode = 9221,
  kCommandColors = 9222,
  kCommandTextures = 9223,

  // Help.
  kCommandAbout = 9473,
  kCommandHelp = 9474,
  kCommandHowTo = 9484,
  kCommandHotKeys = 9485,

  // File > Add.
  kCommandAddTetrahedron = 9729,
  kCommandAddOctahedron = 9730,
  kCommandAddDodecahedron = 9731,
  kCommandAddIcosahedron = 9732,
  kCommandAddCube = 9733,
  kCommandAddCylinder = 9734,
  kCommandAddCone = 9735,
  kCommandAddSphere = 9736,
  kCommandAddTorus = 9737,
  kCommandAddGrid = 9738,
  kCommandAddFromFile = 9739,

  // Select.
  kCommandGrowSelection = 9985,
  kCommandShrinkSelection = 9986,
  kCommandSelectAdjacentVertices = 9987,
  kCommandSelectAdjacentEdges = 9988,
  kCommandSelectAdjacentFaces = 9989,
  kCommandSelectAllVertices = 9990,
  kCommandSelectAllEdges = 9991,
  kCommandSelectAllFaces = 9992,
  kCommandSelectAllObjects = 9993,
  kCommandDeselectReselect = 9995,
  kCommandSelectEdgeLoop = 9999,

  // Window.
  kCommandShowObjectInfo = 10240,
  kCommandShowColorMixer = 10241,

  // Paint: the tool bars' buttons run from the first paint tool's to Redo; among them the
  // buttons beside the tools. Then Edit and the image projections.
  kCommandFirstPaintButton = 12289,
  kCommandMask = 12309,
  kCommandInverseMask = 12310,
  kCommandReveal = 12311,
  kCommandPattern = 12312,
  kCommandStamp = 12313,
  kCommandPaintUndo = 12315,
  kCommandPaintRedo = 12316,
  kCommandLastPaintButton = kCommandPaintRedo,
  kCommandPaintAll = 13568,
  kCommandProjectPlanar = 13569,
  kCommandProjectSpherical = 13570,
  kCommandProjectCylindrical = 13571,
  kCommandColorSwatch = 16385,

  // The tutorial tool bar.
  kCommandTutorialDone = 20480,
  kCommandTutorialRewind = 20481,
  kCommandTutorialStop = 20482,
  kCommandTutorialPlay = 20483,
  kCommandTutorialStep = 20484,
};
