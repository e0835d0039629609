#pragma once
#include <cstdint>

// The tools of the four palettes. A tool's number is palette * 50 + button (button 1..50); button 1
// of every palette is the one selection tool, number 1; 0 is no tool. Numbers without a name
// below are palette buttons without a tool.
enum class ToolId : int16_t {
  None = 0,
  // Palette 0 — 常用图形: the basic figures and the editing tools.
  Selection = 1,
  Eraser = 2,
  Text = 3,
  Freehand = 4,
  AxisLine = 5,
  StraightLine = 6,
  Rectangle = 7,
  RoundedRectangle = 8,
  Ellipse = 9,
  Circle = 10,
  SineWave = 11,
  Arrow = 12,
  HatchedSurface = 13,
  HalfAxes = 14,
  XHalfAxes = 15,
  CoordinateAxes = 16,
  TickScale = 17,
  GridPaper = 18,
  Rod = 19,
  SquareBlock = 20,
  Incline = 21,
  DimensionArrow = 22,
  Fill = 24,
  // Palette 0: the common figures of the library.
  IsoscelesTriangle = 26,         // base horizontal
  IsoscelesTriangleUpright = 27,  // base vertical
  Pentagon = 28,
  Hexagon = 29,
  HalfArc = 30,
  QuarterArc = 31,
  ConcentricCircles = 32,
  Ring = 33,
  Pendulum = 34,
  Cart = 35,
  Table = 36,
  Boat = 37,
  ZigzagSpring = 38,
  SemicircularGroove = 39,
  QuarterCircleTrack = 40,
  HorizontalConveyor = 41,
  InclinedConveyor = 42,
  HorizontalPlane = 43,
  VerticalPlane = 44,
  Rhombus = 45,
  SlottedMass = 46,
  MovablePulley = 47,
  BulletOrPencil = 48,
  Chain = 49,
  // Palette 1 — 电场磁场.
  LampSymbol = 52,
  CellSymbol = 53,
  CapacitorSymbol = 54,
  PositiveCharge = 55,
  NegativeCharge = 56,
  AmmeterSymbol = 57,
  VoltmeterSymbol = 58,
  Ground = 59,
  SingleThrowSwitch = 60,
  DiodeSymbol = 61,
  DoubleThrowSwitch = 62,
  DoublePoleSwitch = 63,
  ParallelResistors = 64,
  SeriesResistors = 65,
  RheostatSymbol = 66,
  FieldOutOfPage = 67,
  FieldIntoPage = 68,
  UniformField = 69,
  Solenoid = 70,
  CircuitWire = 71,
  Transformer = 72,
  PositiveChargeField = 73,
  NegativeChargeField = 74,
  ResistorSymbol = 75,
  DryCell = 76,
  StorageBattery = 77,
  ResistanceWire = 78,
  KnifeSwitch = 79,
  DoubleKnifeSwitch = 80,
  Ammeter = 81,
  Voltmeter = 82,
  Galvanometer = 83,
  SlideRheostat = 84,
  Inductor = 85,
  Electroscope = 86,
  InnerInductionCoil = 87,
  OuterInductionCoil = 88,
  MotorSymbol = 89,
  ElectrolyticCapacitor = 96,
  CapacitorPart = 97,
  FieldEffectTransistor = 98,
  BipolarTransistor = 99,
  OperationalAmplifier = 100,
  // Palette 2 — 立体几何.
  HorizontalHalfParabola = 102,
  VerticalHalfParabola = 103,
  VerticalParabola = 104,
  HorizontalParabola = 105,
  Hyperbola = 106,
  Spiral = 107,
  UprightSineWave = 108,
  Sphere = 109,
  Cuboid = 110,
  TallCylinder = 111,
  FlatCylinder = 112,
  Cone = 113,
  WedgeRisingRight = 114,
  WedgeRisingLeft = 115,
  Axes3D = 116,
  Clothoid = 117,
  PowerGraph = 118,
  ExponentialGraph = 119,
  ConcaveLens = 126,
  ConcaveLensSymbol = 127,
  ConvexLens = 128,
  ConvexLensSymbol = 129,
  // Palette 3 — 综合图形.
  Escalator = 152,
  TickerTape = 153,
  VernierCaliper = 154,
  Car = 155,
  Truck = 156,
  StandingPerson = 157,
  SittingPerson = 158,
  WalkingPerson = 159,
  RunningPerson = 160,
  PullingPerson = 161,
  PushingPerson = 162,
  Cyclist = 163,
  SpringBalance = 164,
};

inline constexpr int kPaletteButtons = 50;
inline constexpr int kLastToolNumber = 4 * kPaletteButtons;

inline constexpr int ToolNumber(ToolId id) { return static_cast<int>(id); }

// The tool of button `button` (1..50) of palette `palette` (0..3); button 1 is the selection tool
// on every palette. Anything out of range is no tool.
inline constexpr ToolId ToolOfButton(int palette, int button) {
  if (palette < 0 || palette > 3 || button < 1 || button > kPaletteButtons) return ToolId::None;
  if (button == 1) return ToolId::Selection;
  return static_cast<ToolId>(palette * kPaletteButtons + button);
}

// The palette button (1..50) that shows tool `id` (0 for no tool).
inline constexpr int ButtonOfTool(ToolId id) {
  const int n = ToolNumber(id);
  if (n <= 0) return 0;
  const int b = n % kPaletteButtons;
  return b == 0 ? kPaletteButtons : b;
}
