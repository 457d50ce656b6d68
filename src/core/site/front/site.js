// The cross-reference site's script: shows a source's text from its data scripts, the
// occurrences of a token, literal or number in a panel, the search and the project's lists.
// Data comes as small scripts that call PX.* (a browser reads no JSON from file://); every text
// from a source reaches the page through textContent.
"use strict";
(() => {
  const PX = (window.PX = {});
  const body = document.body;
  const ROOT = body.dataset.root || "";
  let CFG = null;
  let DELIM = new Set();

  // ---- data scripts -------------------------------------------------------------------
  const store = {
    packs: new Map(), files: new Map(), occ: new Map(), parts: new Map(), find: new Map(),
    top: new Map(), lists: new Map(), listInfo: new Map(),
  };
  PX.pack = (n, pieces) => store.packs.set(n, pieces);
  PX.files = (k, rows) => store.files.set(k, rows);
  PX.occ = (n, entries) => store.occ.set(n, entries);
  PX.part = (id, k, s) => store.parts.set(id + "-" + k, s);
  PX.find = (n, rows) => store.find.set(n, rows);
  PX.top = (k, o) => store.top.set(k, o);
  PX.list = (k, rows) => store.lists.set(k, rows);
  PX.listInfo = (k, n, firsts, top) => store.listInfo.set(k, { n, firsts, top });
  PX.config = (c) => {
    CFG = c;
    DELIM = new Set(c.delimiters);
    if (document.readyState === "loading") document.addEventListener("DOMContentLoaded", start);
    else start();
  };

  const loading = new Map();
  function load(path) {
    let p = loading.get(path);
    if (!p) {
      p = new Promise((resolve, reject) => {
        const s = document.createElement("script");
        s.src = ROOT + path;
        s.onload = () => resolve();
        s.onerror = () => {
          loading.delete(path);
          reject(new Error("cannot load " + path));
        };
        document.head.appendChild(s);
      });
      loading.set(path, p);
    }
    return p;
  }
  const pack = (n) => load("d/p/" + n + ".js").then(() => store.packs.get(n));
  async function fileInfo(id) {
    const k = Math.floor(id / CFG.fileChunk);
    await load("d/f/" + k + ".js");
    const row = store.files.get(k)[id - k * CFG.fileChunk];
    return { id, path: row[0], url: row[1], lines: row[2], tokens: row[3], packs: row[4] };
  }

  // ---- keys and occurrence streams ------------------------------------------------------
  const upper = (s) => s.replace(/[a-z]+/g, (m) => m.toUpperCase());
  const keyOf = (kind, text) => kind + (kind === "T" ? upper(text) : text);
  function hash(s) {
    let h = 0x811c9dc5;
    for (let i = 0; i < s.length; i++) {
      h ^= s.charCodeAt(i);
      h = Math.imul(h, 0x01000193);
    }
    return h >>> 0;
  }
  const shardMaps = new Map();
  async function entryFor(kind, text) {
    const key = keyOf(kind, text);
    const n = hash(key) % CFG.shards;
    await load("d/o/" + n + ".js");
    let m = shardMaps.get(n);
    if (!m) {
      m = new Map();
      for (const e of store.occ.get(n)) m.set(keyOf(e[0][0], e[0].slice(1)), e);
      shardMaps.set(n, m);
    }
    return m.get(key) || null;
  }
  const LAST = "0123456789ABCDEFGHIJKLMNOPQRSTUV", MORE = "WXYZabcdefghijklmnopqrstuvwxyz#$";
  const DIGIT = new Int16Array(128).fill(-1);
  for (let i = 0; i < 32; i++) {
    DIGIT[LAST.charCodeAt(i)] = i + 32; // 32: the last digit of a number
    DIGIT[MORE.charCodeAt(i)] = i;
  }
  // The groups of a stream: [[file, [line, ...]], ...] in file order. A number that is odd
  // starts the next file (half of it, rounded up, is the step from the file before) and is
  // followed by the group's first line; an even one is twice the step to the next line.
  function groups(stream) {
    const out = [];
    let file = -1, line = 0, cur = null, i = 0;
    const next = () => {
      let v = 0, f = 1;
      for (;;) {
        if (i >= stream.length) return -1;
        const c = stream.charCodeAt(i++);
        const d = c < 128 ? DIGIT[c] : -1;
        if (d < 0) return -1;
        v += (d & 31) * f;
        f *= 32;
        if (d & 32) return v;
      }
    };
    while (i < stream.length) {
      const v = next();
      if (v < 0) break;
      if (v % 2 === 1) {
        file += (v + 1) / 2;
        const l = next();
        if (l < 0) break;
        line = l;
        cur = [file, [line]];
        out.push(cur);
      } else if (cur) {
        line += v / 2;
        cur[1].push(line);
      }
    }
    return out;
  }

  // ---- lines with their marks ---------------------------------------------------------
  const KIND_CLASS = { 1: "c", 2: "d", 3: "s" };
  function el(tag, cls, text) {
    const e = document.createElement(tag);
    if (cls) e.className = cls;
    if (text !== undefined) e.textContent = text;
    return e;
  }
  // Puts a line of the data (with its markers) into `into`; words become links, numbers and
  // literals too. `hit` (a key) marks its occurrences.
  function renderLine(text, into, hit) {
    let i = 0;
    const n = text.length;
    while (i < n) {
      const c = text.charCodeAt(i);
      if (c >= 1 && c <= 3) {
        let end = text.indexOf("\x04", i + 1);
        if (end < 0) end = n;
        const seg = text.slice(i + 1, end);
        const s = el("span", KIND_CLASS[c], seg);
        if (c === 3 && hit === "L" + seg) s.classList.add("hit");
        into.appendChild(s);
        i = end + 1;
        continue;
      }
      let j = i;
      while (j < n && text.charCodeAt(j) > 4) j++;
      if (c === 4) j = i + 1; // a stray end marker
      renderCode(text.slice(i, j).replace(/\x04/g, ""), into, hit);
      i = j;
    }
  }
  function renderCode(seg, into, hit) {
    let k = 0, plain = "";
    while (k < seg.length) {
      if (DELIM.has(seg[k])) {
        plain += seg[k++];
        continue;
      }
      let m = k;
      while (m < seg.length && !DELIM.has(seg[m])) m++;
      const w = seg.slice(k, m);
      if (plain) {
        into.appendChild(document.createTextNode(plain));
        plain = "";
      }
      const number = /^[0-9]+$/.test(w);
      const e = el(number ? "span" : "a", number ? "n" : "t", w);
      if (hit && hit === keyOf(number ? "N" : "T", w)) e.classList.add("hit");
      into.appendChild(e);
      k = m;
    }
    if (plain) into.appendChild(document.createTextNode(plain));
  }
  // The keys a line holds, for the occurrences in the page's own file.
  function lineHas(text, key) {
    const kind = key[0];
    let i = 0;
    const n = text.length;
    while (i < n) {
      const c = text.charCodeAt(i);
      if (c >= 1 && c <= 3) {
        let end = text.indexOf("\x04", i + 1);
        if (end < 0) end = n;
        if (c === 3 && kind === "L" && key === "L" + text.slice(i + 1, end)) return true;
        i = end + 1;
        continue;
      }
      if (c === 4 || DELIM.has(text[i])) {
        i++;
        continue;
      }
      let m = i;
      while (m < n && text.charCodeAt(m) > 4 && !DELIM.has(text[m])) m++;
      const w = text.slice(i, m);
      if (kind !== "L" && key === keyOf(/^[0-9]+$/.test(w) ? "N" : "T", w)) return true;
      i = m;
    }
    return false;
  }
  // What a clicked element stands for: [kind, text] or null.
  function wordOf(target) {
    const e = target.closest && target.closest("a.t, span.n, span.s");
    if (!e || !e.closest(".x")) return null;
    return [e.classList.contains("t") ? "T" : e.classList.contains("n") ? "N" : "L", e.textContent];
  }

  // The lines of a file from its pieces: lines[n - 1] is line n (undefined where not loaded).
  const fileLines = new Map();
  async function linesOf(info, needed) {
    let f = fileLines.get(info.id);
    if (!f) {
      f = { lines: [], routines: [], got: new Set() };
      fileLines.set(info.id, f);
    }
    const want = [];
    for (let k = 0; k < info.packs.length; k += 2) {
      const p = info.packs[k], first = info.packs[k + 1];
      const next = k + 2 < info.packs.length ? info.packs[k + 3] : Infinity;
      if (f.got.has(first)) continue;
      if (needed && !needed.some((l) => l >= first && l < next)) continue;
      want.push([p, first]);
    }
    for (const [p] of want) takePieces(f, info.id, await pack(p));
    return f;
  }
  // The pieces of one file's text among a pack's.
  function takePieces(f, id, pieces) {
    for (const piece of pieces) {
      if (piece[0] !== id || f.got.has(piece[1])) continue;
      f.got.add(piece[1]);
      const ls = piece[2].split("\n");
      for (let i = 0; i < ls.length; i++) f.lines[piece[1] - 1 + i] = ls[i];
      if (piece[3]) f.routines = piece[3];
    }
  }

  const fmt = (n) => n.toLocaleString("en-US");
  const plural = (n, one, many) => fmt(n) + " " + (n === 1 ? one : many);
  const pageUrl = (info, line) => ROOT + info.url + (line ? "#L" + line : "");

  // ---- the occurrence panel -----------------------------------------------------------
  const panel = document.getElementById("panel");
  const thisFile = body.dataset.file !== undefined ? Number(body.dataset.file) : -1;
  let panelRun = 0;
  let lastFocus = null;
  const KIND_NAME = { T: "token", L: "literal", N: "number" };

  // The open panel's key is marked wherever the page's own text shows it.
  let pageKey = null;
  function markPage(key) {
    pageKey = key;
    const code = document.getElementById("code");
    if (!code) return;
    for (const e of code.querySelectorAll(".hit")) e.classList.remove("hit");
    if (!key) return;
    for (const e of code.querySelectorAll(".x a.t, .x span.n, .x span.s")) {
      const w = wordOf(e);
      if (w && keyOf(w[0], w[1]) === key) e.classList.add("hit");
    }
  }

  function closePanel() {
    if (panel.hidden) return;
    markPage(null);
    panel.hidden = true;
    panelRun++;
    body.classList.remove("with-panel");
    if (lastFocus && lastFocus.focus) lastFocus.focus();
  }

  async function openPanel(kind, text) {
    const run = ++panelRun;
    const found = entryFor(kind, text); // its data script is asked for first
    found.catch(() => {});
    lastFocus = document.activeElement;
    panel.replaceChildren();
    panel.hidden = false;
    body.classList.add("with-panel");
    const head = el("div", "ph");
    const title = el("h2");
    title.append(el("span", "kind", KIND_NAME[kind] + " "), el("code", "name", text));
    const close = el("button", "close", "\u00d7");
    close.type = "button";
    close.title = "Close (Escape)";
    close.setAttribute("aria-label", "Close");
    close.addEventListener("click", closePanel);
    head.append(title, close);
    const summary = el("p", "sum", "Loading \u2026");
    const spell = el("p", "spell");
    const list = el("div", "groups");
    panel.append(head, summary, spell, list);
    let e;
    try {
      e = await found;
    } catch (err) {
      summary.textContent = String(err.message || err);
      return;
    }
    if (run !== panelRun) return;
    const key = keyOf(kind, text);
    // After the first occurrences are shown: a long page has many words to look at.
    setTimeout(() => { if (run === panelRun) markPage(key); }, 300);
    if (!e) {
      summary.textContent = "No occurrences recorded.";
      return;
    }
    close.focus({ preventScroll: true });
    title.lastChild.textContent = e[0].slice(1);
    summary.textContent = plural(e[1], "occurrence", "occurrences") + " in " + plural(e[2], "file", "files");
    if (e[4] && e[4].length) {
      spell.append("Spellings: ");
      e[4].forEach(([s, n], i) => {
        if (i) spell.append(" / ");
        spell.append(el("code", null, s), " " + fmt(n));
      });
    }
    // The page's own file first, from the text already here; then the others in order.
    const parts = e[5] ? e[5][1] : 1;
    let part = 0;
    let pending = groups(e[3]);
    if (thisFile >= 0) {
      const own = pending.find((g) => g[0] === thisFile);
      let lines = own ? own[1] : [];
      if (!own && e[5]) {
        // Its lines may stand in a later part: the page's own text tells at once.
        const f = fileLines.get(thisFile);
        if (f) f.lines.forEach((t, i) => { if (t !== undefined && lineHas(t, key)) lines.push(i + 1); });
      }
      if (lines.length) list.append(groupBox(thisFile, lines, key, run, true));
    }
    const sentinel = el("p", "more", "");
    list.append(sentinel);
    let busy = false;
    const more = async () => {
      if (busy || run !== panelRun) return;
      busy = true;
      let shown = 0;
      while (shown < 25 && run === panelRun) {
        if (!pending.length) {
          if (++part >= parts) break;
          const id = e[5][0];
          sentinel.textContent = "Loading \u2026";
          await load("d/q/" + id + "-" + part + ".js");
          pending = groups(store.parts.get(id + "-" + part));
          continue;
        }
        const g = pending.shift();
        if (g[0] === thisFile) continue;
        sentinel.before(groupBox(g[0], g[1], key, run, false));
        shown++;
      }
      const done = !pending.length && part + 1 >= parts;
      sentinel.textContent = done ? "" : "\u2026";
      busy = false;
      if (done) observer.disconnect();
      else if (sentinel.getBoundingClientRect().top < panel.getBoundingClientRect().bottom + 200) more();
    };
    const observer = new IntersectionObserver((xs) => { if (xs.some((x) => x.isIntersecting)) more(); },
      { root: panel, rootMargin: "300px" });
    observer.observe(sentinel);
    more();
  }

  const MAX_ROWS = 60;
  function groupBox(file, lines, key, run, own) {
    const box = el("section", "g" + (own ? " own" : ""));
    const h = el("h3");
    const a = el("a", "file", "\u2026");
    const n = el("span", "cnt", plural(lines.length, "line", "lines"));
    h.append(a, n);
    const ol = el("ol");
    box.append(h, ol);
    let infoP = fileInfo(file);
    infoP.then((info) => {
      a.textContent = info.path;
      a.href = pageUrl(info);
    }).catch(() => {});
    const addRows = (from, to) => {
      const rows = [];
      for (let i = from; i < to; i++) {
        const li = el("li");
        const ln = el("a", "ln", String(lines[i]));
        const x = el("span", "x");
        li.append(ln, x);
        ol.append(li);
        rows.push([lines[i], ln, x]);
      }
      infoP.then(async (info) => {
        for (const [l, ln] of rows) ln.href = pageUrl(info, l);
        const f = await linesOf(info, rows.map((r) => r[0]));
        if (run !== panelRun) return;
        for (const [l, , x] of rows) {
          const t = f.lines[l - 1];
          if (t !== undefined) renderLine(t.length > 400 ? t.slice(0, 400) : t, x, key);
        }
      }).catch(() => {});
    };
    const limit = Math.min(lines.length, MAX_ROWS);
    if (own) {
      // The page's own lines are here already: shown at once.
      const f = fileLines.get(file);
      for (const l of lines.slice(0, limit)) {
        const li = el("li");
        const ln = el("a", "ln", String(l));
        ln.href = "#L" + l;
        const x = el("span", "x");
        const t = f && f.lines[l - 1];
        if (t !== undefined) renderLine(t.length > 400 ? t.slice(0, 400) : t, x, key);
        li.append(ln, x);
        ol.append(li);
      }
      if (lines.length > limit) {
        const b = el("button", "all", "Show all " + fmt(lines.length) + " lines");
        b.type = "button";
        b.addEventListener("click", () => { b.remove(); addRows(limit, lines.length); });
        box.append(b);
      }
      return box;
    }
    // Line texts load once the group comes into view.
    const io = new IntersectionObserver((xs) => {
      if (!xs.some((x) => x.isIntersecting)) return;
      io.disconnect();
      addRows(0, limit);
      if (lines.length > limit) {
        const b = el("button", "all", "Show all " + fmt(lines.length) + " lines");
        b.type = "button";
        b.addEventListener("click", () => {
          b.remove();
          addRows(limit, lines.length);
        });
        box.append(b);
      }
    }, { root: panel, rootMargin: "200px" });
    io.observe(box);
    return box;
  }

  // ---- a source's page ----------------------------------------------------------------
  const BLOCK = 200;
  let sourceState = null;

  async function showSource() {
    const code = document.getElementById("code");
    // The page names its packs; their pieces say which lines they hold.
    const packs = (body.dataset.packs || "").split(",").filter((x) => x !== "").map(Number);
    const f = { lines: [], routines: [], got: new Set() };
    fileLines.set(thisFile, f);
    for (const p of packs) takePieces(f, thisFile, await pack(p));
    const count = f.lines.length;
    const heads = new Map(), ends = new Map();
    for (const r of f.routines) {
      heads.set(r[1], r);
      ends.set(r[3], r);
    }
    document.getElementById("stats").textContent =
      plural(count, "line", "lines") + " \u00b7 " + plural(f.routines.length, "routine", "routines") + " \u00b7 text";
    code.replaceChildren();
    const pre = el("div", "lines");
    pre.setAttribute("role", "presentation");
    code.append(pre);
    const blocks = [];
    for (let b = 0; b * BLOCK < count; b++) {
      const d = el("div", "blk");
      d.dataset.b = b;
      const n = Math.min(BLOCK, count - b * BLOCK);
      d.style.height = "calc(" + n + " * var(--lh))";
      pre.append(d);
      blocks.push(d);
    }
    const rendered = new Set();
    const renderBlock = (b) => {
      if (rendered.has(b) || b < 0 || b >= blocks.length) return;
      rendered.add(b);
      const d = blocks[b];
      const frag = document.createDocumentFragment();
      for (let i = b * BLOCK; i < Math.min(count, (b + 1) * BLOCK); i++) {
        const n = i + 1;
        const line = el("div", "l");
        line.id = "L" + n;
        const no = el("a", "no", String(n));
        no.href = "#L" + n;
        const x = el("span", "x");
        renderLine(f.lines[i] || "", x, pageKey);
        line.append(no, x);
        const h = heads.get(n);
        if (h) {
          const p = el("a", "pair", "\u2193 END " + h[3]);
          p.href = "#L" + h[3];
          p.title = "To the END of " + h[0] + " (line " + h[3] + ")";
          line.append(p);
        }
        const e = ends.get(n);
        if (e) {
          const p = el("a", "pair", "\u2191 " + e[0]);
          p.href = "#L" + e[1];
          p.title = "To the heading of " + e[0] + " (line " + e[1] + ")";
          line.append(p);
        }
        frag.append(line);
      }
      d.replaceChildren(frag);
      d.classList.add("done");
    };
    const io = new IntersectionObserver((xs) => {
      for (const x of xs) if (x.isIntersecting) renderBlock(Number(x.target.dataset.b));
    }, { rootMargin: "1200px" });
    blocks.forEach((d) => io.observe(d));
    sourceState = { renderBlock, count };
    // The outline of routines.
    const outline = document.getElementById("outline");
    if (f.routines.length) {
      const ol = outline.querySelector("ol");
      for (const r of f.routines) {
        const li = el("li");
        const a = el("a", null, r[0]);
        a.href = "#L" + r[1];
        li.append(a, el("span", "lr", r[1] + "\u2013" + r[3]));
        ol.append(li);
      }
      outline.hidden = false;
      if (window.matchMedia("(max-width: 900px)").matches) outline.open = false;
    }
    renderBlock(0);
    goToLine(false);
    // Firefox scrolls to the address's line once more when the page has loaded, to the top of
    // the window where the bar hides it: the line goes back to the middle.
    if (document.readyState !== "complete")
      window.addEventListener("load", () => setTimeout(() => goToLine(false)), { once: true });
    window.addEventListener("hashchange", () => goToLine(true));
    // The rest in the background, so that the browser's own search finds every line.
    let next = 0;
    const idle = () => {
      let k = 0;
      while (next < blocks.length && k < 3) {
        if (!rendered.has(next)) { renderBlock(next); k++; }
        next++;
      }
      if (next < blocks.length) setTimeout(idle, 30);
    };
    setTimeout(idle, 200);
    // The data of a word is asked for as the button goes down: a click comes a moment later.
    code.addEventListener("pointerdown", (ev) => {
      const w = wordOf(ev.target);
      if (w) entryFor(w[0], w[1]).catch(() => {});
    });
    code.addEventListener("click", (ev) => {
      const w = wordOf(ev.target);
      if (!w) return;
      ev.preventDefault();
      openPanel(w[0], w[1]);
    });
  }

  let marked = null;
  function goToLine(smooth) {
    const m = /^#L(\d+)$/.exec(location.hash);
    if (!m || !sourceState) return;
    const n = Number(m[1]);
    if (n < 1 || n > sourceState.count) return;
    const b = Math.floor((n - 1) / BLOCK);
    for (let k = b - 1; k <= b + 1; k++) sourceState.renderBlock(k);
    const line = document.getElementById("L" + n);
    if (!line) return;
    if (marked) marked.classList.remove("mark");
    line.classList.add("mark");
    marked = line;
    line.scrollIntoView({ block: "center", behavior: smooth ? "smooth" : "auto" });
  }

  // ---- search -------------------------------------------------------------------------
  const q = document.getElementById("q");
  const results = document.getElementById("results");
  let searchRun = 0;
  let active = -1;

  async function searchRows(query) {
    if (query.length <= 2) {
      const hex = query.length === 1 ? "" : query.charCodeAt(0).toString(16);
      await load("d/s/t" + hex + ".js");
      const top = store.top.get(hex) || {};
      return top[query] || [];
    }
    const firsts = CFG.search;
    let lo = 0, hi = firsts.length - 1, at = 0;
    while (lo <= hi) {
      const mid = (lo + hi) >> 1;
      if (firsts[mid] <= query) { at = mid; lo = mid + 1; } else hi = mid - 1;
    }
    const rows = [];
    for (let j = at, k = 0; j < firsts.length && k < 4; j++, k++) {
      if (j > at && !firsts[j].startsWith(query)) break;
      await load("d/s/" + j + ".js");
      for (const r of store.find.get(j)) if (upper(r[1]).startsWith(query)) rows.push(r);
    }
    const t = rows.filter((r) => r[0] === "T").sort((a, b) => b[2] - a[2]).slice(0, 12);
    const byLen = (a, b) => a[1].length - b[1].length;
    const rs = rows.filter((r) => r[0] === "R").sort(byLen).slice(0, 8);
    const fs = rows.filter((r) => r[0] === "F").sort(byLen).slice(0, 8);
    return t.concat(rs, fs);
  }

  async function search() {
    const run = ++searchRun;
    const query = upper(q.value.trim());
    if (!query) {
      results.hidden = true;
      return;
    }
    let rows;
    try {
      rows = await searchRows(query);
    } catch (err) {
      rows = [];
    }
    if (run !== searchRun) return;
    results.replaceChildren();
    active = -1;
    if (!rows.length) {
      results.append(el("p", "none", "Nothing starts with \u201c" + q.value.trim() + "\u201d"));
      results.hidden = false;
      return;
    }
    const heads = { T: "Tokens", R: "Routines", F: "Files" };
    let last = "";
    for (const r of rows) {
      if (r[0] !== last) {
        results.append(el("p", "sec", heads[r[0]]));
        last = r[0];
      }
      const a = el("a", "res");
      a.setAttribute("role", "option");
      a.append(el("span", "nm", r[1]));
      const meta = el("span", "meta");
      a.append(meta);
      if (r[0] === "T") {
        a.href = "#";
        meta.textContent = fmt(r[2]);
        a.addEventListener("click", (ev) => {
          ev.preventDefault();
          results.hidden = true;
          openPanel("T", r[1]);
        });
      } else {
        fileInfo(r[2]).then((info) => {
          a.href = pageUrl(info, r[0] === "R" ? r[3] : 0);
          meta.textContent = r[0] === "R" ? info.path + ":" + r[3] : info.path;
        }).catch(() => {});
      }
      results.append(a);
    }
    results.hidden = false;
  }

  function moveActive(step) {
    const items = [...results.querySelectorAll("a.res")];
    if (!items.length) return;
    if (active >= 0 && items[active]) items[active].classList.remove("on");
    active = (active + step + items.length) % items.length;
    items[active].classList.add("on");
    items[active].scrollIntoView({ block: "nearest" });
  }

  function wireSearch() {
    let timer = 0;
    q.addEventListener("input", () => {
      clearTimeout(timer);
      timer = setTimeout(search, 60);
    });
    q.addEventListener("keydown", (ev) => {
      if (ev.key === "ArrowDown") { ev.preventDefault(); moveActive(1); }
      else if (ev.key === "ArrowUp") { ev.preventDefault(); moveActive(-1); }
      else if (ev.key === "Enter") {
        const items = [...results.querySelectorAll("a.res")];
        const it = items[active >= 0 ? active : 0];
        if (it) { ev.preventDefault(); it.click(); }
      } else if (ev.key === "Escape") {
        if (!results.hidden) { results.hidden = true; ev.stopPropagation(); }
        else q.blur();
      }
    });
    q.addEventListener("focus", () => { if (q.value.trim()) search(); });
    document.addEventListener("click", (ev) => {
      if (!results.hidden && !ev.target.closest(".find")) results.hidden = true;
    });
  }

  // ---- the project's lists ------------------------------------------------------------
  async function showList() {
    const main = document.querySelector("main.list");
    const kind = main.dataset.list;
    await load("d/l/" + kind + ".js");
    const info = store.listInfo.get(kind);
    const thead = main.querySelector("thead"), tbody = main.querySelector("tbody");
    const filter = document.getElementById("filter"), countEl = document.getElementById("count");
    const moreBtn = document.getElementById("more");
    const routine = kind === "R";
    const cols = routine ? [["name", "Name"], ["count", "Lines"], ["file", "File"]]
      : [["name", kind === "L" ? "Literal" : kind === "N" ? "Number" : "Token"], ["count", "Count"], ["files", "Files"]];
    const small = info.n <= info.top; // every item is among the most frequent: all in memory
    let sort = "name", dir = 1;
    const tr = el("tr");
    const ths = cols.map(([k, label]) => {
      const th = el("th");
      const b = el("button", null, label);
      b.type = "button";
      b.addEventListener("click", () => {
        if (k === "file" || (k === "files" && !small)) return;
        if (sort === k) dir = -dir;
        else { sort = k; dir = k === "name" ? 1 : -1; }
        if (!small && sort === "count" && dir === 1) dir = -1; // only the most frequent are kept in count order
        refresh();
      });
      th.append(b);
      tr.append(th);
      return [k, th];
    });
    thead.append(tr);
    filter.placeholder = small ? "Filter (contains)" : "Filter (starts with)";
    const nameChunk = (c) => load("d/l/" + kind + "n" + c + ".js").then(() => store.lists.get(kind + "n" + c));
    const countChunk = (c) => load("d/l/" + kind + "c" + c + ".js").then(() => store.lists.get(kind + "c" + c));
    let all = null;
    async function everything() {
      if (!all) {
        all = [];
        for (let c = 0; c < info.firsts.length; c++) all.push(...(await nameChunk(c)));
      }
      return all;
    }
    const strip = (s) => (kind === "L" ? s.replace(/^['"]/, "") : s);
    const norm = (s) => upper(strip(s));
    let source = null; // an async generator of rows
    let run = 0;
    function row(r) {
      const trr = el("tr");
      const a = el("a", "item", r[0]);
      const td = el("td");
      td.append(a);
      trr.append(td);
      if (routine) {
        trr.append(el("td", "num", fmt(r[1])));
        const f = el("td", "path");
        trr.append(f);
        fileInfo(r[2]).then((fi) => {
          a.href = pageUrl(fi, r[3]);
          f.textContent = fi.path + ":" + r[3];
        }).catch(() => {});
      } else {
        a.href = "#";
        a.addEventListener("click", (ev) => { ev.preventDefault(); openPanel(kind, r[0]); });
        trr.append(el("td", "num", fmt(r[1])), el("td", "num", fmt(r[2])));
      }
      return trr;
    }
    async function* rowsOf() {
      const want = norm(filter.value.trim());
      if (small) {
        let items = await everything();
        if (want) items = items.filter((r) => norm(r[0]).includes(want));
        // The order by name is the site's own (numbers by their value): kept, or reversed.
        items = dir > 0 || sort !== "name" ? items.slice() : items.slice().reverse();
        if (sort !== "name") items.sort((a, b) => dir * (a[1] - b[1]));
        countEl.textContent = plural(items.length, "item", "items") + (want ? " of " + fmt(info.n) : "");
        yield* items;
        return;
      }
      if (sort === "count") {
        countEl.textContent = "The " + fmt(info.top) + " most frequent of " + fmt(info.n);
        for (let c = 0; c * 500 < info.top; c++)
          for (const r of await countChunk(c)) if (!want || norm(r[0]).includes(want)) yield r;
        return;
      }
      countEl.textContent = plural(info.n, "item", "items");
      const firsts = info.firsts;
      if (dir === 1) {
        let c = 0;
        if (want) {
          // The first chunk that may hold names starting with the filter.
          for (let k = 0; k < firsts.length; k++) if (norm(firsts[k]) < want) c = k;
        }
        for (; c < firsts.length; c++) {
          if (want && c > 0 && norm(firsts[c]) > want && !norm(firsts[c]).startsWith(want)) break;
          for (const r of await nameChunk(c)) {
            const nr = norm(r[0]);
            if (!want || nr.startsWith(want)) yield r;
          }
        }
      } else {
        for (let c = firsts.length - 1; c >= 0; c--) {
          const rows = (await nameChunk(c)).slice().reverse();
          for (const r of rows) if (!want || norm(r[0]).startsWith(want)) yield r;
        }
      }
    }
    async function page() {
      const my = run;
      let k = 0;
      moreBtn.hidden = true;
      for (;;) {
        const { value, done } = await source.next();
        if (my !== run) return;
        if (done) return;
        tbody.append(row(value));
        if (++k >= 200) break;
      }
      moreBtn.hidden = false;
    }
    function refresh() {
      run++;
      tbody.replaceChildren();
      for (const [k, th] of ths) th.setAttribute("aria-sort", k === sort ? (dir > 0 ? "ascending" : "descending") : "none");
      source = rowsOf();
      page();
    }
    moreBtn.addEventListener("click", page);
    let timer = 0;
    filter.addEventListener("input", () => { clearTimeout(timer); timer = setTimeout(refresh, 120); });
    refresh();
  }

  // ---- start --------------------------------------------------------------------------
  function start() {
    wireSearch();
    document.addEventListener("keydown", (ev) => {
      const typing = ev.target.closest && ev.target.closest("input, textarea, select");
      if (ev.key === "/" && !typing && !ev.ctrlKey && !ev.metaKey && !ev.altKey) {
        ev.preventDefault();
        q.focus();
        q.select();
      } else if (ev.key === "Escape") {
        if (!results.hidden) results.hidden = true;
        else closePanel();
      }
    });
    panel.addEventListener("click", (ev) => {
      const w = wordOf(ev.target);
      if (w) {
        ev.preventDefault();
        openPanel(w[0], w[1]);
      }
    });
    const page = body.dataset.page;
    const done = (p) => p.then(() => body.setAttribute("data-ready", "1")).catch((err) => {
      body.setAttribute("data-ready", "error");
      const main = document.querySelector("main");
      if (main) main.append(el("p", "error", "This page could not load its data: " + (err.message || err)));
    });
    if (page === "source") done(showSource());
    else if (page === "list") done(showList());
    else done(Promise.resolve());
  }
})();
