// The few curves the paintings need, worked out from additions, multiplications, divisions
// and square roots only. Those are exactly rounded the same by every compiler and library
// (the art target turns off fused multiply-add), while the library's sin, pow or hypot may
// differ in their last bit between builds, and one bit flips a dithered pixel. So the demo's
// pictures come out byte for byte the same in every build.
#pragma once

#include <cmath>

namespace demo_art {

inline constexpr double kPi = 3.141592653589793;

// sin on [-π/2, π/2] by its series to the 19th power: within 1e-15 there.
inline double SinNear(double x) {
  const double x2 = x * x;
  double term = x, sum = x;
  for (int n = 1; n <= 9; ++n) {
    term = -term * x2 / ((2 * n) * (2 * n + 1));
    sum += term;
  }
  return sum;
}

inline double Sin(double x) {
  // Into [-π, π], then mirrored into [-π/2, π/2].
  x -= 2 * kPi * std::nearbyint(x / (2 * kPi));
  if (x > kPi / 2) x = kPi - x;
  if (x < -kPi / 2) x = -kPi - x;
  return SinNear(x);
}

inline double Cos(double x) { return Sin(x + kPi / 2); }

inline double Hypot(double x, double y) { return std::sqrt(x * x + y * y); }

// e^x as 2^k · e^r with |r| ≤ ln 2 / 2, e^r by its series.
inline double Exp(double x) {
  constexpr double kLn2 = 0.6931471805599453;
  const double k = std::nearbyint(x / kLn2);
  const double r = x - k * kLn2;
  double term = 1, sum = 1;
  for (int n = 1; n <= 16; ++n) {
    term = term * r / n;
    sum += term;
  }
  return std::ldexp(sum, static_cast<int>(k));
}

// ln x for x > 0: x = m · 2^e with m in [√½, √2), ln m = 2 atanh((m − 1) / (m + 1)).
inline double Log(double x) {
  constexpr double kLn2 = 0.6931471805599453;
  int e = 0;
  double m = std::frexp(x, &e);  // [0.5, 1)
  if (m < 0.7071067811865476) {
    m *= 2;
    --e;
  }
  const double s = (m - 1) / (m + 1), s2 = s * s;
  double term = s, sum = s;
  for (int n = 1; n <= 20; ++n) {
    term *= s2;
    sum += term / (2 * n + 1);
  }
  return 2 * sum + e * kLn2;
}

// x^y for x ≥ 0.
inline double Pow(double x, double y) {
  if (x == 0) return y == 0 ? 1 : 0;
  return Exp(y * Log(x));
}

// The angle of (x, y) in (-π, π].
inline double Atan2(double y, double x) {
  if (x == 0 && y == 0) return 0;
  // atan on [0, 1] through t = tan(a/2) halving twice, then its series.
  auto atan_unit = [](double t) {
    for (int i = 0; i < 2; ++i) t = t / (1 + std::sqrt(1 + t * t));
    const double t2 = t * t;
    double term = t, sum = t;
    for (int n = 1; n <= 12; ++n) {
      term = -term * t2;
      sum += term / (2 * n + 1);
    }
    return 4 * sum;
  };
  const double ax = std::abs(x), ay = std::abs(y);
  double a = ay <= ax ? atan_unit(ay / ax) : kPi / 2 - atan_unit(ax / ay);
  if (x < 0) a = kPi - a;
  return y < 0 ? -a : a;
}

}  // namespace demo_art
