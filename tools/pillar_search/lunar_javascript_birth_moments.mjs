// Writes tests/calendar/data/lunar_javascript_birth_moments.tsv: for a sample
// of four-pillar sets, the birth moments lunar-javascript (npm, MIT) gives in
// both of its 子 hour schools (sect 1: 23:00 starts the next day; sect 2:
// 夜子时 keeps the date). It takes its solar terms from its own astronomy, so
// the table checks the search under the astronomical term source.
//
//   mkdir -p /tmp/ljs && (cd /tmp/ljs && npm install lunar-javascript)
//   NODE_PATH=/tmp/ljs/node_modules node tools/pillar_search/lunar_javascript_birth_moments.mjs \
//     > tests/calendar/data/lunar_javascript_birth_moments.tsv
//
// Two columns per set and school:
//  - from_bazi: what Solar.fromBaZi returns, one moment per match: the even
//    hour of the hour branch (子: 00:00, and 23:00 too in sect 2), or the
//    term's own moment when the 节 falls in that very hour on the day of the
//    term. It searches up to the current year; the clock is set to 2049 here
//    so that it reaches the end of the program's range.
//  - windows: every run of minutes whose pillars by lunar-javascript's
//    EightChar are the set, found by computing the pillars of every minute of
//    the hour branch on each day near a month with the year and month pillar
//    and a day with the day pillar. Each minute is taken at its 59th second,
//    so the minute in which a 节 falls counts as after it.
// Moments outside 1901-2049 are left out; "-" stands for none.
import { createRequire } from 'module';
const require = createRequire(import.meta.url);

const RealDate = Date;
globalThis.Date = class extends RealDate {
  constructor(...args) {
    if (args.length === 0) super(2049, 11, 31, 12, 0, 0);
    else super(...args);
  }
};
const { Solar } = require('lunar-javascript');

let seed = 20261313;
function random(n) {  // deterministic, so the file regenerates identically
  seed = (seed * 1103515245 + 12345) % 2147483648;
  return seed % n;
}

const sets = [];
function addBirth(solar) {
  for (const sect of [1, 2]) {
    const e = solar.getLunar().getEightChar();
    e.setSect(sect);
    sets.push([e.getYear(), e.getMonth(), e.getDay(), e.getTime()]);
  }
}

// Ordinary births.
for (let i = 0; i < 10; i++) {
  addBirth(Solar.fromYmdHms(1901 + random(149), 1 + random(12), 1 + random(28), random(24), random(60), 0));
}
// 子 hours: the late one (23:xx) and the early one.
for (let i = 0; i < 6; i++) {
  addBirth(Solar.fromYmdHms(1901 + random(149), 1 + random(12), 1 + random(28), i % 2 ? 23 : 0, random(60), 0));
}
// Minutes either side of a 节, so the hour window is cut at the term.
const names = ['立春', '惊蛰', '清明', '立夏', '芒种', '小暑', '立秋', '白露', '寒露', '立冬', '大雪', '小寒'];
for (let i = 0; i < 8; i++) {
  const year = 1902 + random(147);
  const term = Solar.fromYmd(year, 6, 1).getLunar().getJieQiTable()[names[random(names.length)]];
  const minutes = 3 + random(20);
  addBirth(Solar.fromJulianDay(term.getJulianDay() - minutes / 1440));
  addBirth(Solar.fromJulianDay(term.getJulianDay() + minutes / 1440));
}
// Pillar sets made by the rules only; some have no birth at all.
const STEMS = '甲乙丙丁戊己庚辛壬癸';
const BRANCHES = '子丑寅卯辰巳午未申酉戌亥';
const pillar = (n) => STEMS[n % 10] + BRANCHES[n % 12];
for (let i = 0; i < 6; i++) {
  const year = random(60), monthBranch = random(12), day = random(60), hourBranch = random(12);
  const monthStem = (2 * (year % 10) + 2 + (monthBranch + 10) % 12) % 10;
  const hourStem = (2 * (day % 10) + hourBranch) % 10;
  sets.push([pillar(year), STEMS[monthStem] + BRANCHES[monthBranch], pillar(day),
             STEMS[hourStem] + BRANCHES[hourBranch]]);
}

const two = (n) => String(n).padStart(2, '0');
const dateText = (s) => `${s.getYear()}-${two(s.getMonth())}-${two(s.getDay())}`;
const clockText = (s) => `${two(s.getHour())}:${two(s.getMinute())}`;

// The pillars at noon of every day, 1900-12-31 to 2050-01-01.
const days = [];
for (let s = Solar.fromYmd(1900, 12, 31); s.getYear() <= 2050 && days.length < 54900; s = s.next(1)) {
  const e = Solar.fromYmdHms(s.getYear(), s.getMonth(), s.getDay(), 12, 0, 0).getLunar().getEightChar();
  days.push({ solar: s, year: e.getYear(), month: e.getMonth(), day: e.getDay() });
}

function windows([year, month, day, time], sect) {
  const branch = BRANCHES.indexOf(time[1]);
  const hours = branch === 0 ? [0, 23] : [2 * branch - 1, 2 * branch];
  const minutes = [];  // seconds since the epoch of matching minutes, in order
  for (let i = 1; i + 1 < days.length; i++) {
    const near = [days[i - 1], days[i], days[i + 1]];
    if (!near.some((d) => d.year === year && d.month === month)) continue;
    if (days[i].day !== day && days[i + 1].day !== day) continue;
    const s = days[i].solar;
    if (s.getYear() < 1901 || s.getYear() > 2049) continue;
    for (const hour of hours) {
      for (let minute = 0; minute < 60; minute++) {
        const e = Solar.fromYmdHms(s.getYear(), s.getMonth(), s.getDay(), hour, minute, 59)
            .getLunar().getEightChar();
        e.setSect(sect);
        if (e.getYear() === year && e.getMonth() === month && e.getDay() === day && e.getTime() === time) {
          minutes.push(Solar.fromYmdHms(s.getYear(), s.getMonth(), s.getDay(), hour, minute, 0));
        }
      }
    }
  }
  const runs = [];
  for (const m of minutes) {
    const last = runs.length ? runs[runs.length - 1] : null;
    if (last && Math.round((m.getJulianDay() - last[1].getJulianDay()) * 1440) === 1) last[1] = m;
    else runs.push([m, m]);
  }
  return runs.map(([a, b]) => `${dateText(a)} ${clockText(a)}–${clockText(b)}`);
}

console.log('# tools/pillar_search/lunar_javascript_birth_moments.mjs, lunar-javascript ' +
            require('lunar-javascript/package.json').version);
console.log('sect\tyear_pillar\tmonth_pillar\tday_pillar\thour_pillar\tfrom_bazi\twindows');
const seen = new Set();
for (const set of sets) {
  for (const sect of [1, 2]) {
    const key = set.join(' ') + sect;
    if (seen.has(key)) continue;
    seen.add(key);
    const found = Solar.fromBaZi(...set, sect, 1901)
        .filter((s) => s.getYear() >= 1901 && s.getYear() <= 2049)
        .map((s) => `${dateText(s)} ${clockText(s)}:${two(s.getSecond())}`);
    const runs = windows(set, sect);
    console.log([sect, ...set, found.join(',') || '-', runs.join(',') || '-'].join('\t'));
  }
}
