// Pictures of the buttons of palette 1 — 电场磁场: circuit symbols, fields, devices and instruments.
#include <cmath>

#include "resources/PaletteMotifs.h"

namespace Pictures {
namespace {

void Lamp(Pad& d) {
  Leads(d, 6, 17);
  d.Pen().NoFill().Circle(11.5, 12, 5.5);
  d.Line(7.6, 8.1, 15.4, 15.9);
  d.Line(15.4, 8.1, 7.6, 15.9);
}

void Source(Pad& d) {
  Leads(d, 10, 13);
  d.Pen().Line(10, 5, 10, 19);
  d.Pen(2.5).Line(14, 8.5, 14, 15.5);
}

void CapacitorSymbol(Pad& d) {
  Leads(d, 10, 13);
  d.Pen(1.5);
  d.Line(10, 5, 10, 19);
  d.Line(14, 5, 14, 19);
}

void Positive(Pad& d) {
  d.Pen(1.2, Red).Fill(PinkTint).Circle(11.5, 11.5, 8);
  d.Pen(2, Red).Glyph('+', 11.5, 11.5, 11);
}

void Negative(Pad& d) {
  d.Pen(1.2, Blue).Fill(Tint).Circle(11.5, 11.5, 8);
  d.Pen(2, Blue).Glyph('-', 11.5, 11.5, 11);
}

void AmmeterSymbol(Pad& d) { MeterSymbol(d, 'A'); }
void VoltmeterSymbol(Pad& d) { MeterSymbol(d, 'V'); }

void Ground(Pad& d) {
  d.Pen();
  d.Line(11.5, 2, 11.5, 11);
  d.Line(3, 11, 20, 11);
  d.Line(6, 15, 17, 15);
  d.Line(9, 19, 14, 19);
}

void SwitchSymbol(Pad& d) {
  d.Pen();
  d.Line(2, 15, 6, 15);
  d.Line(17, 15, 21, 15);
  d.Line(7, 14, 17, 7);
  d.Pen().Fill(Paper);
  d.Circle(6.5, 15, 1.4);
  d.Circle(17, 15, 1.4);
}

void Diode(Pad& d) {
  Leads(d, 8, 15);
  d.Pen().Fill(Ink).Polygon({{8, 6}, {15, 12}, {8, 18}});
  d.Pen(1.5).Line(15, 6, 15, 18);
}

void TwoWaySymbol(Pad& d, qreal y) {
  d.Pen();
  d.Line(2, y, 6, y);
  d.Line(17, y - 4, 21, y - 4);
  d.Line(17, y + 4, 21, y + 4);
  d.Line(7, y - 0.5, 16, y - 4);
  d.Pen().Fill(Paper);
  d.Circle(6.5, y, 1.3);
  d.Circle(17, y - 4, 1.3);
  d.Circle(17, y + 4, 1.3);
}
void SpdtSymbol(Pad& d) { TwoWaySymbol(d, 12); }
void DpdtSymbol(Pad& d) {
  // Two poles whose blades move together (dashed link), each with two throws.
  for (qreal y : {7.0, 17.0}) {
    d.Pen();
    d.Line(2, y, 4, y);
    d.Line(18, y - 3, 21, y - 3);
    d.Line(18, y + 3, 21, y + 3);
    d.Line(6, y - 0.7, 15.5, y - 3);
    d.Pen().Fill(Paper);
    d.Circle(5, y, 1.3);
    d.Circle(17, y - 3, 1.3);
    d.Circle(17, y + 3, 1.3);
  }
  QPen link(Grey, 1, Qt::SolidLine, Qt::FlatCap);
  link.setDashPattern({1.5, 1.5});
  d.p.setPen(link);
  d.Line(11, 5.5, 11, 15.5);
}

void ResistorSymbol(Pad& d) {
  Leads(d, 5, 18);
  d.Pen().Fill(Paper).Rect(5, 10, 13, 4);
}

void ParallelResistors(Pad& d) {
  d.Pen();
  d.Line(2, 12, 4, 12);
  d.Line(19, 12, 21, 12);
  d.Line(4, 6, 4, 18);
  d.Line(19, 6, 19, 18);
  d.Line(4, 6, 7, 6);
  d.Line(16, 6, 19, 6);
  d.Line(4, 18, 7, 18);
  d.Line(16, 18, 19, 18);
  d.Fill(Paper);
  d.Rect(7, 4, 9, 4);
  d.Rect(7, 16, 9, 4);
}

void SeriesResistors(Pad& d) {
  d.Pen();
  d.Line(2, 12, 21, 12);
  d.Fill(Paper);
  d.Rect(3, 10, 7, 4);
  d.Rect(13, 10, 7, 4);
}

void RheostatSymbol(Pad& d) {
  Leads(d, 5, 18, 15);
  d.Pen().Fill(Paper).Rect(5, 13, 13, 4);
  d.Pen().Line(11.5, 5, 18, 5);
  d.Line(18, 5, 18, 9);
  d.Arrow(11.5, 5, 11.5, 12, 3.5, 2);
}

void FieldOut(Pad& d) {
  d.Pen();
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) d.Dot(4 + i * 7.5, 4 + j * 7.5, 1.5);
}

void FieldIn(Pad& d) {
  d.Pen(1.2);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      const qreal x = 4 + i * 7.5, y = 4 + j * 7.5;
      d.Line(x - 1.8, y - 1.8, x + 1.8, y + 1.8);
      d.Line(x + 1.8, y - 1.8, x - 1.8, y + 1.8);
    }
}

void ParallelField(Pad& d) {
  d.Pen();
  for (int i = 0; i < 4; ++i) {
    const qreal y = 4 + i * 5;
    d.Line(2, y, 21, y);
    d.Barbs(14, y, 9, y, 3, 2);
  }
}

void Solenoid(Pad& d) {
  d.Pen();
  d.Line(2, 18, 4, 18);
  d.Line(19, 18, 21, 18);
  // A helix seen from the side: five turns along the axis.
  d.RoundPen(1.1).Param(0, 10 * Pi, [](qreal t) { return 4 + t * 15 / (10 * Pi) - 1.6 * std::sin(t); },
                        [](qreal t) { return 12 + 6 * std::cos(t); }, 160);
}

void Wiring(Pad& d) {
  d.Pen();
  d.Polyline({{3, 19}, {3, 5}, {20, 5}, {20, 19}, {3, 19}});
  d.Line(11.5, 5, 11.5, 19);
  d.Dot(11.5, 5, 1.6);
  d.Dot(11.5, 19, 1.6);
}

void Transformer(Pad& d) {
  d.Pen().NoFill();
  for (int i = 0; i < 4; ++i) d.Arc(7, 4.5 + i * 4.5, 2.25, 2.25, 90, -180);
  for (int i = 0; i < 3; ++i) d.Arc(16, 6.75 + i * 4.5, 2.25, 2.25, 90, 180);
  d.Pen(1.2);
  d.Line(10.5, 2, 10.5, 21);
  d.Line(12.5, 2, 12.5, 21);
  d.Pen();
  d.Line(2, 2.25, 7, 2.25);
  d.Line(2, 20.25, 7, 20.25);
  d.Line(16, 4.5, 21, 4.5);
  d.Line(16, 18, 21, 18);
}

void PositiveField(Pad& d) { ChargeField(d, true); }
void NegativeField(Pad& d) { ChargeField(d, false); }

void DryCell(Pad& d) {
  d.Pen().Fill(Ink).Rect(10, 2, 3, 2);
  d.Pen().Fill(Green).RoundRect(6, 4, 11, 17, 1.5);
  d.Pen(1.3, Paper).Glyph('+', 11.5, 8.5, 4);
  d.Glyph('-', 11.5, 16.5, 4);
}

void Accumulator(Pad& d) {
  d.Pen().Fill(Ink);
  d.Rect(5, 4, 3, 3);
  d.Rect(15, 4, 3, 3);
  d.Pen().Fill(Grey.lighter(130)).Rect(2, 7, 19, 13);
  d.Pen(1.2, Red).Glyph('+', 6.5, 12, 4);
  d.Pen(1.2, Blue).Glyph('-', 16.5, 12, 4);
}

void ResistanceWire(Pad& d) {
  d.Pen().Fill(Wood).Rect(2, 16, 19, 4);
  d.Pen().Fill(Metal);
  d.Rect(2, 11, 3, 5);
  d.Rect(18, 11, 3, 5);
  d.Pen(1, Red).Zigzag(5, 12, 18, 12, 6, 1.5);
}

void KnifeSwitch1(Pad& d) { KnifeSwitch(d, false); }
void KnifeSwitch2(Pad& d) { KnifeSwitch(d, true); }
void Ammeter(Pad& d) { MeterBox(d, 'A', false); }
void Voltmeter(Pad& d) { MeterBox(d, 'V', false); }
void Galvanometer(Pad& d) { MeterBox(d, 'G', true); }

void MotorSymbol(Pad& d) { MeterSymbol(d, 'M'); }

void Rheostat(Pad& d) {
  d.Pen().Fill(Metal).Rect(2, 12, 19, 7);
  d.Pen(1, Grey);
  for (int x = 4; x <= 19; x += 2) d.Line(x, 12, x - 1, 19);
  d.Pen(1.2).Line(2, 5, 21, 5);
  d.Pen().Fill(Blue).Polygon({{12, 4}, {16, 4}, {16, 7}, {14, 11}, {12, 7}});
}

void Inductor(Pad& d) {
  d.Pen();
  d.Line(2, 14, 4, 14);
  d.Line(19, 14, 21, 14);
  Loops(d, 4, 19, 4, 14, 4.5);
}

void Electroscope(Pad& d) {
  d.Pen().Fill(Paper).Circle(11.5, 14, 7.5);
  d.Pen().Line(11.5, 4, 11.5, 14);
  d.Pen().Fill(Metal).Circle(11.5, 3.5, 2);
  d.Pen(1, Ink).Line(11.5, 14, 9, 18);
  d.Line(11.5, 14, 14, 18);
  d.Pen().Fill(Ink).Rect(9, 5.5, 5, 1.5);
}

void CoilInner(Pad& d) {
  d.Pen().Fill(Tint).Rect(8, 2, 7, 19);
  d.Pen(1, Red);
  for (int y = 4; y <= 19; y += 2) d.Line(8, y, 15, y - 1);
  d.Pen().Line(9, 21, 9, 22);
}

void CoilOuter(Pad& d) {
  d.Pen().Fill(Tint).Rect(3, 4, 17, 17);
  d.Pen().Fill(Paper).Rect(8, 4, 7, 17);
  d.Pen(1, Red);
  for (int y = 6; y <= 20; y += 2) {
    d.Line(3, y, 8, y - 1);
    d.Line(15, y, 20, y - 1);
  }
}

void ElectrolyticCapacitor(Pad& d) {
  Leads(d, 10, 13);
  d.Pen(1.5).Line(10, 5, 10, 19);
  d.Pen(1.3).NoFill().Arc(19, 12, 5, 7, 140, 80);
  d.Pen(1).Glyph('+', 6, 6, 4);
}

void CapacitorPart(Pad& d) {
  d.Pen();
  d.Line(9, 15, 9, 22);
  d.Line(14, 15, 14, 22);
  d.Pen().Fill(Blue.lighter(140)).RoundRect(5, 2, 13, 13, 3);
  d.Pen(1, Ink).Glyph('+', 9, 8, 3);
}

void Fet(Pad& d) {
  d.Pen();
  d.Line(2, 17, 8, 17);
  d.Line(8, 7, 8, 17);
  d.Pen(1.6).Line(11, 5, 11, 19);
  d.Pen();
  d.Line(11, 7, 18, 7);
  d.Line(18, 7, 18, 2);
  d.Line(11, 17, 18, 17);
  d.Line(18, 17, 18, 21);
  d.Head(12, 12, 17, 12, 3.5, 2);
  d.Line(13, 12, 18, 12);
  d.Line(18, 12, 18, 17);
}

void Transistor(Pad& d) {
  d.Pen().NoFill().Circle(12.5, 12, 8.5);
  d.Pen();
  d.Line(2, 12, 9, 12);
  d.Pen(1.8).Line(9, 6, 9, 18);
  d.Pen();
  d.Line(9, 9, 15, 4);
  d.Line(15, 4, 15, 2);
  d.Line(9, 15, 15, 20);
  d.Line(15, 20, 15, 22);
}

void OpAmp(Pad& d) {
  d.Pen().Fill(Paper).Polygon({{5, 3}, {19, 12}, {5, 21}});
  d.Pen();
  d.Line(2, 8, 5, 8);
  d.Line(2, 16, 5, 16);
  d.Line(19, 12, 22, 12);
  d.Glyph('-', 8.5, 8, 4);
  d.Glyph('+', 8.5, 16, 4);
}

constexpr PaletteEntry kEntries[] = {
    {52, &Lamp}, {53, &Source}, {54, &CapacitorSymbol}, {55, &Positive}, {56, &Negative},
    {57, &AmmeterSymbol}, {58, &VoltmeterSymbol}, {59, &Ground}, {60, &SwitchSymbol}, {61, &Diode},
    {62, &SpdtSymbol}, {63, &DpdtSymbol}, {64, &ParallelResistors}, {65, &SeriesResistors}, {66, &RheostatSymbol},
    {67, &FieldOut}, {68, &FieldIn}, {69, &ParallelField}, {70, &Solenoid}, {71, &Wiring},
    {72, &Transformer}, {73, &PositiveField}, {74, &NegativeField}, {75, &ResistorSymbol}, {76, &DryCell},
    {77, &Accumulator}, {78, &ResistanceWire}, {79, &KnifeSwitch1}, {80, &KnifeSwitch2}, {81, &Ammeter},
    {82, &Voltmeter}, {83, &Galvanometer}, {84, &Rheostat}, {85, &Inductor}, {86, &Electroscope},
    {87, &CoilInner}, {88, &CoilOuter}, {89, &MotorSymbol}, {96, &ElectrolyticCapacitor}, {97, &CapacitorPart},
    {98, &Fet}, {99, &Transistor}, {100, &OpAmp},
};

}  // namespace

std::span<const PaletteEntry> FieldPictures() { return kEntries; }

}  // namespace Pictures
