#pragma once
// Date and time functions of the expression language: the calendar parts
// weekof, dayofyear, dayofmonth, dayofweek, monthof, yearof; the clock parts
// hourof, minuteof, secondof; the texts timestr, datestr, datetimestr,
// datetimestring; datefromunix and datediff. The group's registry rows are
// published by DateFunctionTable().
//
// Parameters are read through the value getters (AsDate, AsTime, AsDateTime,
// AsDouble, AsString), so any value class whose getter answers can be passed.
// The texts use the expression's format settings. A day count that cannot be
// decoded (not finite, or beyond kJUXMaxDayCount) flags kind 3 and is read as
// day 0. All but datediff work element by element on sets.

#include <memory>
#include <span>

#include "eval/language/function.h"
#include "eval/values/scalar_vars.h"

// A one-parameter function whose result (of class TResultVar) is computed
// from parameter 0 in InitResult (the standard evaluation); the set state is
// parameter 0's.
template <class TResultVar>
class TJUXDatePartFunc : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void Prepare(TTreeMapNode* scope) override {
    TJUXFunction::Prepare(scope);
    SetResult(std::make_unique<TResultVar>());
  }
  void InitResult() override {
    Compute();
    SetSetState(Param(0)->SetState());
  }

 protected:
  // Reads parameter 0 and stores the result.
  virtual void Compute() = 0;
};

using TJUXDateIntegerFunc = TJUXDatePartFunc<TJUXVar_Integer>;
using TJUXDateTextFunc = TJUXDatePartFunc<TJUXVar_String>;

// Integer calendar and clock parts.
class TJUXFunc_WeekOf : public TJUXDateIntegerFunc {
 public:
  using TJUXDateIntegerFunc::TJUXDateIntegerFunc;
 protected:
  void Compute() override;
};
class TJUXFunc_DayOfYear : public TJUXDateIntegerFunc {
 public:
  using TJUXDateIntegerFunc::TJUXDateIntegerFunc;
 protected:
  void Compute() override;
};
class TJUXFunc_DayOfMonth : public TJUXDateIntegerFunc {
 public:
  using TJUXDateIntegerFunc::TJUXDateIntegerFunc;
 protected:
  void Compute() override;
};
// 1 Sunday .. 7 Saturday.
class TJUXFunc_DayOfWeek : public TJUXDateIntegerFunc {
 public:
  using TJUXDateIntegerFunc::TJUXDateIntegerFunc;
 protected:
  void Compute() override;
};
class TJUXFunc_MonthOf : public TJUXDateIntegerFunc {
 public:
  using TJUXDateIntegerFunc::TJUXDateIntegerFunc;
 protected:
  void Compute() override;
};
class TJUXFunc_YearOf : public TJUXDateIntegerFunc {
 public:
  using TJUXDateIntegerFunc::TJUXDateIntegerFunc;
 protected:
  void Compute() override;
};
class TJUXFunc_HourOf : public TJUXDateIntegerFunc {
 public:
  using TJUXDateIntegerFunc::TJUXDateIntegerFunc;
 protected:
  void Compute() override;
};
class TJUXFunc_MinuteOf : public TJUXDateIntegerFunc {
 public:
  using TJUXDateIntegerFunc::TJUXDateIntegerFunc;
 protected:
  void Compute() override;
};
class TJUXFunc_SecondOf : public TJUXDateIntegerFunc {
 public:
  using TJUXDateIntegerFunc::TJUXDateIntegerFunc;
 protected:
  void Compute() override;
};

// Texts: the value in the long time format, the short date format, and the
// format "c".
class TJUXFunc_TimeStr : public TJUXDateTextFunc {
 public:
  using TJUXDateTextFunc::TJUXDateTextFunc;
 protected:
  void Compute() override;
};
class TJUXFunc_DateStr : public TJUXDateTextFunc {
 public:
  using TJUXDateTextFunc::TJUXDateTextFunc;
 protected:
  void Compute() override;
};
class TJUXFunc_DateTimeStr : public TJUXDateTextFunc {
 public:
  using TJUXDateTextFunc::TJUXDateTextFunc;
 protected:
  void Compute() override;
};

// datetimestring(value; format): the value in a format of specifier letters
// (eval/values/date_format.h); an empty format counts as "c".
class TJUXFunc_DateTimeString : public TJUXTwoParamFunc {
 public:
  using TJUXTwoParamFunc::TJUXTwoParamFunc;
  void Prepare(TTreeMapNode* scope) override;
  void InitResult() override {}
  void CombineParam(int index) override;
};

// datefromunix(seconds): seconds since 1 January 1970 00:00 as a day count,
// without a time zone. The result class is the parameter's unified with
// double.
class TJUXFunc_DateFromUnix : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

// datediff(unit; date1; date2): whole units from date1 to date2 (negative
// when date2 is earlier). Units, in either letter case: "y"/"year",
// "month", "w"/"week", "d"/"day", "h"/"hour", "minute", "s"/"second". Years
// and months are complete when the month and day (the day) of date1 are
// reached again; the other units count the difference rounded to the
// millisecond. Counts are 64-bit; a difference that has none (not finite or
// beyond 64 bits) flags kind 3. An unknown unit is kind 12. The dates must be
// of a class that accepts a double. Elementwise on sets.
class TJUXFunc_DateDiff : public TJUXThreeParamFunc {
 public:
  using TJUXThreeParamFunc::TJUXThreeParamFunc;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

// The registry rows of this group (static storage).
std::span<const TJUXFunctionInfo> DateFunctionTable();
